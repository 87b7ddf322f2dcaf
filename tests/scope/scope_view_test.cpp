// The acquisition view: the timer's copy under the worker event, the panel
// refresh that follows it, the progress box and the display's layout; the
// scope frame's tool bar and panel toggle.
#include "scope/scope_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>

#include "block_builder.h"
#include "fake_link.h"
#include "scope/acquire_progress_box.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_frame.h"
#include "scope/scope_panel.h"
#include "scope/scope_screen.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/side_bar.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
namespace L = zelvo::layout;

namespace {

struct View {
    DocumentTemplate type;
    Document document{type};
    FakeLink link;
    ScopeView* view = new ScopeView(document, link.link());

    ~View() { delete view; }
    void upload(int timeBase) {
        BlockBuilder b;
        b.shownChannel(0, 10, 100000, 99).u16(L::kTimeBase, timeBase);
        link.data.uploadedBlock = b.block;
        link.fresh = true;
    }
    QComboBox* timeList() const {
        return view->panel()->findChild<QComboBox*>(QStringLiteral("timeList"));
    }
};

}  // namespace

TEST(ScopeView, TickCopiesTheUploadAndRefreshesThePanel) {
    View v;
    v.upload(19);
    v.view->tick();
    EXPECT_EQ(v.link.data.displayedBlock, v.link.data.uploadedBlock);
    EXPECT_FALSE(v.link.fresh);
    EXPECT_TRUE(v.link.event.tryTake());  // given back
    v.link.event.set();
    EXPECT_EQ(v.timeList()->currentText(), QStringLiteral("1.000ms"));
}

TEST(ScopeView, ABusyEventKeepsTheUploadForALaterTick) {
    View v;
    v.upload(19);
    ASSERT_TRUE(v.link.event.tryTake());  // the worker holds it
    v.view->tick();
    EXPECT_NE(v.link.data.displayedBlock, v.link.data.uploadedBlock);
    EXPECT_TRUE(v.link.fresh);
    v.link.event.set();
    v.view->tick();
    EXPECT_EQ(v.link.data.displayedBlock, v.link.data.uploadedBlock);
    EXPECT_FALSE(v.link.fresh);
}

TEST(ScopeView, NoNewDataNoCopy) {
    View v;
    v.upload(19);
    v.link.fresh = false;
    v.view->tick();
    EXPECT_NE(v.link.data.displayedBlock, v.link.data.uploadedBlock);
}

TEST(ScopeView, ProgressBoxShowsWhileASlowUploadRuns) {
    View v;
    v.view->show();
    v.link.slow = true;
    v.link.percent = 40;
    v.view->tick();
    AcquireProgressBox& box = v.view->progressBox();
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.caption(), QStringLiteral("Acquire Data"));
    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_TRUE(box.isVisible());
    // The dots grow to three and start again from none; showing the box again starts from none.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return box.caption() == QStringLiteral("Acquire Data..."); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.dots() == 0; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.dots() == 1; }));
    box.hide();
    v.view->tick();
    EXPECT_EQ(box.dots(), 0);
    v.link.slow = false;
    v.view->tick();
    EXPECT_FALSE(box.isVisible());
}

TEST(ScopeView, EveryTickOfASlowUploadLetsTheConnectionWatchForAStall) {
    View v;
    v.view->tick();
    EXPECT_EQ(v.link.watchedTicks, 0);  // no upload runs: nothing to watch
    v.link.slow = true;
    v.view->tick();
    v.view->tick();
    EXPECT_EQ(v.link.watchedTicks, 2);
}

TEST(ScopeView, DisplayNeverShrinksBelowItsMinimumAndFitsItsGridOnTheFirstTick) {
    View v;
    v.view->resize(400, 300);
    v.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(v.view));
    v.view->tick();
    EXPECT_EQ(v.view->screen().size(), ScopeView::kMinimumDisplay);
    // 650 x 450 less the margins 50, 50, 120, 50: 480 wide, 320 high.
    EXPECT_EQ(v.view->screen().grid(), (GridRect{50, 50, 530, 370}));
    v.view->resize(1000, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(v.view->screen().width(), 1000);
}

TEST(ScopeFrame, ToolBarPanelToggleAndMinimumSize) {
    DocumentTemplate type;
    Document document(type);
    FakeLink link;
    auto* view = new ScopeView(document, link.link());
    ScopeFrame frame(document, view);
    EXPECT_EQ(frame.minimumSize(), ScopeFrame::kMinimumSize);
    QStringList texts;
    for (QAction* a : frame.body()->findChild<QToolBar*>()->actions()) {
        texts << (a->isSeparator() ? QStringLiteral("|") : a->text());
        // Every button shows a picture loaded from the application's resources.
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().availableSizes().isEmpty()) << a->text().toStdString();
        }
    }
    EXPECT_EQ(
        texts.join(QLatin1Char(' ')),
        QStringLiteral("Save Waveform Print Panel | Scope Setups Update Data | Cursor Measure | "
                       "Option Connect Disconnect"));
    frame.show();
    // At its natural size (as the main frame's window area opens it) the
    // window shows the whole display.
    frame.resize(frame.sizeHint());
    QCoreApplication::processEvents();
    EXPECT_GE(view->width(), ScopeView::kMinimumDisplay.width());
    EXPECT_GE(view->height(), ScopeView::kMinimumDisplay.height());
    ASSERT_TRUE(frame.panelBar()->isVisible());
    EXPECT_TRUE(frame.panelBar()->surface()->isAncestorOf(view->panel()));
    // The panel gets the room its controls need, so no label is cut and no
    // control lies over another.
    EXPECT_GE(view->panel()->width(), view->panel()->minimumSizeHint().width());
    EXPECT_GE(view->panel()->height(), view->panel()->minimumSizeHint().height());
    frame.action(cmd::kScopePanelToggle)->trigger();
    EXPECT_FALSE(frame.panelBar()->isVisible());
    frame.action(cmd::kScopePanelToggle)->trigger();
    EXPECT_TRUE(frame.panelBar()->isVisible());
    // Nothing handles Save yet: the button is disabled.
    EXPECT_FALSE(frame.action(cmd::kScopeSave)->isEnabled());
}
