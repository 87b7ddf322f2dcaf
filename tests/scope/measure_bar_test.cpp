// The measure bar: its buttons, tooltips and channel list as the user meets
// them; the frame's Measure command; the view's recomputation after each
// copied block, the texts it hands the display and the statistics beside the bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "block_builder.h"
#include "fake_link.h"
#include "model/scope_scales.h"
#include "scope/measure_bar.h"
#include "scope/measure_bar_table.h"
#include "scope/measure_statistics_view.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_frame.h"
#include "scope/scope_view.h"
#include "shell/document.h"
#include "shell/document_template.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
namespace L = zelvo::layout;

namespace {

QString barLayout(QToolBar* bar) {
    QStringList items;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator())
            items << QStringLiteral("|");
        else if (a->data().isValid())
            items << a->toolTip();
        else
            items << QStringLiteral("[list]");
    }
    return items.join(QLatin1Char(' '));
}

void click(QToolBar* bar, QAction* action) {
    QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
}

void choose(QComboBox* list, int entry) {
    list->setCurrentIndex(entry);
    emit list->activated(entry);
}

}  // namespace

TEST(MeasureBar, ButtonsInTheirOrderWithPicturesAndTooltips) {
    MeasureSet set;
    MeasureBar bar(set);
    EXPECT_EQ(bar.windowTitle(), QStringLiteral("Measure"));
    EXPECT_EQ(barLayout(bar.firstBar()),
              QStringLiteral("Maximum Minimum Peak to Peak | Top Middle Base | Amplitude Average "
                             "Cycle RMS RMS | Positive Overshott Negative Overshoot"));
    EXPECT_EQ(barLayout(bar.secondBar()),
              QStringLiteral("[list] | Period Frequency | Rise Time Fall Time | +Width -Width | "
                             "+Duty Cycle -Duty Cycle | +Delay 1->2 -Delay 1->2"));
    for (QToolBar* b : {bar.firstBar(), bar.secondBar()}) {
        EXPECT_EQ(b->iconSize(), QSize(42, 42));
        for (QAction* a : b->actions()) {
            if (a->data().isValid()) {
                EXPECT_TRUE(a->icon().availableSizes().contains(QSize(42, 42)))
                    << a->toolTip().toStdString();
            }
        }
    }
    QStringList entries;
    for (int i = 0; i < bar.channelList()->count(); ++i) entries << bar.channelList()->itemText(i);
    EXPECT_EQ(entries.join(QLatin1Char(',')), QStringLiteral("CH1,CH2,Math,Overlay,Clear"));
    EXPECT_EQ(bar.channelList()->currentIndex(), 0);
    EXPECT_EQ(bar.channelList()->width(), 86);
}

TEST(MeasureBar, ButtonsAddOnTheChosenChannelAndClearGoesBackToIt) {
    MeasureSet set;
    MeasureBar bar(set);
    bar.show();
    int changes = 0;
    QObject::connect(&bar, &MeasureBar::measurementsChanged, [&changes] { ++changes; });

    // Command id → kind, from the table of the Part's commands.
    struct Case {
        int command;
        MeasureKind kind;
        int entry;
    };
    const Case cases[] = {{32834, MeasureKind::Vpp, 0},
                          {32844, MeasureKind::Frequency, 1},
                          {32842, MeasureKind::PreShoot, 2},
                          {32855, MeasureKind::Vcrms, 0},
                          {32852, MeasureKind::NegDelay, 1}};
    int k = 0;
    for (const Case& c : cases) {
        choose(bar.channelList(), c.entry);
        QAction* a = bar.action(c.command);
        ASSERT_NE(a, nullptr) << c.command;
        click(bar.firstBar()->actions().contains(a) ? bar.firstBar() : bar.secondBar(), a);
        EXPECT_EQ(set.slot(k).kind, c.kind) << c.command;
        EXPECT_EQ(set.slot(k).channel, c.entry) << c.command;
        ++k;
    }
    EXPECT_EQ(set.activeCount(), 5);
    EXPECT_EQ(changes, 5);

    choose(bar.channelList(), measurebar::kClearEntry);
    EXPECT_EQ(set.activeCount(), 0);
    EXPECT_EQ(set.text(0), "*****");
    EXPECT_EQ(bar.channelList()->currentIndex(), 1);  // back on CH2, the current channel
    EXPECT_EQ(set.currentChannel(), 1);
    EXPECT_EQ(changes, 6);
}

namespace {

// A view on a fake link whose uploads carry a 1 kHz square on CH1, 10 µs per sample.
struct MeasuredView {
    DocumentTemplate type;
    Document document{type};
    FakeLink link;
    ScopeView* view = new ScopeView(document, link.link());
    ScopeFrame frame{document, view};

    void upload(int high, bool ch1On = true) {
        BlockBuilder b;
        b.shownChannel(0, 10, 100000, 100).u16(L::kTimeBase, 19);  // 1 ms/div
        if (!ch1On) b.channel(0, L::channel::kShown, 0);
        for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
            b.sample(0, i, i % 100 < 50 ? high : 50);
        link.data.uploadedBlock = b.block;
        link.fresh = true;
        view->tick();
    }
    MeasureStatisticsView* statistics() const {
        return frame.measureDock()->findChild<MeasureStatisticsView*>();
    }
    MeasureBar* bar() const { return frame.measureDock()->findChild<MeasureBar*>(); }
};

}  // namespace

TEST(MeasureDock, MeasureCommandShowsAndHidesTheBar) {
    MeasuredView v;
    v.frame.show();
    QDockWidget* dock = v.frame.measureDock();
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(dock->isHidden());
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Measure"));
    QAction* measure = v.frame.action(cmd::kScopeMeasure);
    ASSERT_NE(measure, nullptr);
    measure->trigger();
    EXPECT_FALSE(dock->isHidden());
    EXPECT_TRUE(measure->isChecked());
    measure->trigger();
    EXPECT_TRUE(dock->isHidden());
}

TEST(MeasureDock, EachCopiedBlockIsMeasuredAndCountedInTheStatistics) {
    MeasuredView v;
    ASSERT_EQ(*SecondsPerDivision(19), 1e-3);
    MeasureBar* bar = v.bar();
    ASSERT_NE(bar, nullptr);
    bar->action(32844)->trigger();  // Frequency
    bar->action(32834)->trigger();  // Peak to Peak

    v.upload(200);
    EXPECT_EQ(v.view->measurements().text(0), "CH1:Frequ = 1.000KHz");
    v.upload(250);
    v.view->tick();        // no new data: nothing recounted
    v.upload(150, false);  // CH1 off: no value, not counted

    EXPECT_EQ(v.view->measurements().text(0), "CH1:Frequ = *****");
    const MeasureStats& vpp = v.view->measureStatistics().slot(1);
    EXPECT_EQ(vpp.frames, 2u);
    EXPECT_NEAR(vpp.minimum, 150 * 8.0 / 255, 1e-6);
    EXPECT_NEAR(vpp.maximum, 200 * 8.0 / 255, 1e-6);

    QTableWidget* table = v.statistics()->table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("CH1:Frequ"));
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("CH1:Vpp"));
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("*****"));  // the last frame had none
    EXPECT_EQ(table->item(1, 6)->text(), QStringLiteral("2"));
    EXPECT_EQ(table->item(0, 2)->text(), QStringLiteral("1.00kHz"));

    QTest::mouseClick(v.statistics()->restartButton(), Qt::LeftButton);
    EXPECT_EQ(table->item(1, 6)->text(), QStringLiteral("0"));
    v.upload(200);
    EXPECT_EQ(table->item(1, 6)->text(), QStringLiteral("1"));
    // The display's texts are the slots' own, not the statistics.
    EXPECT_EQ(v.view->measurements().text(1), "CH1:Vpp = 4.71V");
}

TEST(MeasureDock, StatisticsColumnsFitTheirHeadersAtTheDefaultSize) {
    MeasuredView v;
    v.frame.show();
    v.frame.action(cmd::kScopeMeasure)->trigger();
    // The widest names and values: delays, a duty cycle, a mean.
    for (int id : {32844, 32834, 32851, 32852, 32843, 32845, 32849, 32839})
        v.bar()->action(id)->trigger();
    v.upload(200);
    v.upload(150);
    QApplication::processEvents();
    QTableWidget* table = v.statistics()->table();
    const QHeaderView* header = table->horizontalHeader();
    int columns = 0;
    for (int c = 0; c < table->columnCount(); ++c) {
        const QString text = table->horizontalHeaderItem(c)->text();
        EXPECT_GE(header->sectionSize(c), header->fontMetrics().horizontalAdvance(text))
            << qPrintable(text);
        columns += header->sectionSize(c);
    }
    EXPECT_LE(columns, table->viewport()->width()) << "every column in sight";
    EXPECT_GE(v.bar()->width(), v.bar()->sizeHint().width() / 2) << "the bar stays usable";
}

TEST(MeasureBar, OverlayIsASourceOfItsOwn) {
    MeasureSet set;
    MeasureBar bar(set);
    bar.show();
    choose(bar.channelList(), measurebar::kOverlayEntry);
    QAction* vpp = bar.action(32834);
    ASSERT_NE(vpp, nullptr);
    click(bar.firstBar()->actions().contains(vpp) ? bar.firstBar() : bar.secondBar(), vpp);
    EXPECT_TRUE(set.slot(0).overlay);
    choose(bar.channelList(), measurebar::kClearEntry);
    EXPECT_EQ(bar.channelList()->currentIndex(), measurebar::kOverlayEntry) << "back on Overlay";
    choose(bar.channelList(), 0);
    EXPECT_FALSE(set.currentIsOverlay());
}
