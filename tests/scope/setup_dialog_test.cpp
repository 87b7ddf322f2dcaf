// The "Setup" dialog: each control posts its command and value, the pages
// mirror the displayed block only where a value changed, the CH1/CH2 tabs
// share one page, the enabling rules of the MATH and trigger groups, and the
// command refuses to open without an instrument.
#include "scope/setup_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include "block_builder.h"
#include "fake_link.h"
#include "scope/cal_data_dialog.h"
#include "scope/cursor_dialog.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_commands.h"
#include "scope/scope_screen.h"
#include "scope/scope_tools.h"
#include "scope/scope_view.h"
#include "scope/up_down_buttons.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
namespace L = zelvo::layout;

namespace {

struct Dialog {
    FakeLink link;
    SetupDialog dialog{link.data, link};

    Dialog() { dialog.show(); }
    template <typename W>
    W* control(const char* name) {
        W* w = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void setBlock(const BlockBuilder& b) {
        link.data.displayedBlock = b.block;
        dialog.refresh();
    }
};

enum class Action { Click, StepUp, StepDown };
struct ControlCase {
    int tab;
    const char* control;
    Action action;  // a combo box is chosen at `value`
    int kind;
    int value;
};

void act(Dialog& d, const ControlCase& c) {
    d.dialog.tabs()->setCurrentIndex(c.tab);
    QWidget* w = d.dialog.findChild<QWidget*>(QString::fromLatin1(c.control));
    ASSERT_NE(w, nullptr) << c.control;
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        box->activated(c.value);
    } else if (auto* spin = qobject_cast<UpDownButtons*>(w)) {
        spin->stepped(c.action == Action::StepUp ? 1 : -1);
    } else {
        static_cast<QAbstractButton*>(w)->click();
    }
}

}  // namespace

TEST(SetupDialog, EachControlPostsItsCommandAndValue) {
    using A = Action;
    const ControlCase cases[] = {
        // Channel page for CH1, then for CH2.  The first click ticks a box.
        {SetupDialog::kTabCh1, "fine", A::Click, 99, 1},
        {SetupDialog::kTabCh1, "coarse", A::Click, 99, 0},
        {SetupDialog::kTabCh1, "bw20", A::Click, 101, 1},
        {SetupDialog::kTabCh1, "invert", A::Click, 103, 1},
        {SetupDialog::kTabCh1, "bw100", A::Click, 128, 1},
        {SetupDialog::kTabCh1, "reset", A::Click, 59, 0},
        {SetupDialog::kTabCh2, "fine", A::Click, 100, 1},
        {SetupDialog::kTabCh2, "bw20", A::Click, 102, 1},
        {SetupDialog::kTabCh2, "invert", A::Click, 104, 1},
        {SetupDialog::kTabCh2, "bw100", A::Click, 129, 1},
        {SetupDialog::kTabCh2, "reset", A::Click, 60, 0},
        // MATH page.
        {SetupDialog::kTabMath, "mathOn", A::Click, 87, 1},
        {SetupDialog::kTabMath, "mathCoarse", A::Click, 106, 0},
        {SetupDialog::kTabMath, "mathFine", A::Click, 106, 1},
        {SetupDialog::kTabMath, "mathInvert", A::Click, 105, 1},
        {SetupDialog::kTabMath, "mathProbe", A::Click, 107, 2},
        {SetupDialog::kTabMath, "mathVolts", A::StepUp, 94, 0},
        {SetupDialog::kTabMath, "mathVolts", A::StepDown, 93, 0},
        {SetupDialog::kTabMath, "sourceA", A::Click, 108, 1},
        {SetupDialog::kTabMath, "sourceB", A::Click, 109, 1},
        {SetupDialog::kTabMath, "operator", A::Click, 62, 3},
        {SetupDialog::kTabMath, "fftSource", A::Click, 54, 1},
        {SetupDialog::kTabMath, "fftWindow", A::Click, 55, 3},
        {SetupDialog::kTabMath, "fftScale", A::Click, 56, 1},
        // REF page.
        {SetupDialog::kTabRef, "refOn", A::Click, 88, 1},
        {SetupDialog::kTabRef, "refVolts", A::StepUp, 58, 0},
        {SetupDialog::kTabRef, "refVolts", A::StepDown, 57, 0},
        // Trigger page outside ALT mode: the main trigger's controls.
        {SetupDialog::kTabTrigger, "hf0", A::Click, 66, 1},
        {SetupDialog::kTabTrigger, "half0", A::Click, 117, 0},
    };
    Dialog d;
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.control);
        d.link.posted.clear();
        act(d, c);
        ASSERT_EQ(d.link.posted.size(), 1u);
        EXPECT_EQ(d.link.last(), (std::pair<int, int32_t>{c.kind, c.value}));
    }
}

TEST(SetupDialog, AltTriggerControlsPostTheirRecordsCommands) {
    Dialog d;
    d.setBlock(BlockBuilder().u16(L::kTriggerMode, 2));
    const std::pair<const char*, std::pair<int, int32_t>> cases[] = {
        {"hf1", {67, 1}}, {"hf2", {68, 1}}, {"half1", {118, 0}}, {"half2", {119, 0}}};
    for (const auto& [name, expected] : cases) {
        d.link.posted.clear();
        d.control<QAbstractButton>(name)->click();
        EXPECT_EQ(d.link.last(), expected) << name;
    }
    // The main trigger's group is off in ALT mode, and on again outside it.
    EXPECT_FALSE(d.control<QCheckBox>("hf0")->isEnabled());
    EXPECT_FALSE(d.control<QPushButton>("half0")->isEnabled());
    d.setBlock(BlockBuilder().u16(L::kTriggerMode, 1));
    EXPECT_TRUE(d.control<QCheckBox>("hf0")->isEnabled());
    EXPECT_FALSE(d.control<QCheckBox>("hf1")->isEnabled());
    EXPECT_FALSE(d.control<QPushButton>("half2")->isEnabled());
}

TEST(SetupDialog, ClickingTheSelectedCoarseButtonPostsAgain) {
    Dialog d;
    d.setBlock(BlockBuilder());  // CH1 coarse
    ASSERT_TRUE(d.control<QRadioButton>("coarse")->isChecked());
    d.control<QRadioButton>("coarse")->click();
    d.control<QRadioButton>("coarse")->click();
    EXPECT_EQ(d.link.posted, (std::vector<std::pair<int, int32_t>>{{99, 0}, {99, 0}}));
}

TEST(SetupDialog, RefreshTouchesAControlOnlyWhenItsSettingChanged) {
    Dialog d;
    BlockBuilder b;
    b.channel(kCh1, L::channel::kBandwidth20M, 1);
    d.setBlock(b);
    auto* bw20 = d.control<QCheckBox>("bw20");
    EXPECT_TRUE(bw20->isChecked());
    // The user's untick stands until the instrument's setting changes.
    bw20->setChecked(false);
    d.dialog.refresh();
    EXPECT_FALSE(bw20->isChecked());
    b.channel(kCh1, L::channel::kBandwidth20M, 0);
    d.setBlock(b);
    b.channel(kCh1, L::channel::kBandwidth20M, 1);
    d.setBlock(b);
    EXPECT_TRUE(bw20->isChecked());
}

TEST(SetupDialog, SwitchingBetweenCh1AndCh2RedrawsEveryChannelControl) {
    Dialog d;
    BlockBuilder b;
    for (int c : {kCh1, kCh2})
        b.channel(c, L::channel::kInvert, 1).channel(c, L::channel::kVoltsStep, 1);
    d.setBlock(b);
    auto* invert = d.control<QCheckBox>("invert");
    auto* fine = d.control<QRadioButton>("fine");
    ASSERT_TRUE(invert->isChecked() && fine->isChecked());
    // Disturbed by hand: equal settings of CH2 must still be shown.
    invert->setChecked(false);
    d.control<QRadioButton>("coarse")->setChecked(true);
    d.dialog.tabs()->setCurrentIndex(SetupDialog::kTabCh2);
    EXPECT_TRUE(invert->isChecked());
    EXPECT_TRUE(fine->isChecked());
    d.control<QRadioButton>("coarse")->click();
    EXPECT_EQ(d.link.last(), (std::pair<int, int32_t>{100, 0}));
}

TEST(SetupDialog, MathGroupsFollowTheOperatorAndVoltDivShowsVoltsOrDecibels) {
    Dialog d;
    BlockBuilder b;
    b.u32(L::firstChannelRecord(kMath) + L::channel::kVoltsValue, 50000)
        .channel(kMath, L::channel::kProbe, 1)
        .u16(L::kMathOperatorSettings, 1);
    d.setBlock(b);
    EXPECT_TRUE(d.control<QGroupBox>("operateGroup")->isEnabled());
    EXPECT_FALSE(d.control<QGroupBox>("fftGroup")->isEnabled());
    EXPECT_EQ(d.control<QLabel>("mathVoltDiv")->text(), QStringLiteral("5.00V"));
    EXPECT_EQ(d.control<QComboBox>("operator")->currentIndex(), 1);

    b.u16(L::kMathOperatorSettings, kFftOperator).u16(L::kFftScale, 1).u32(L::kFftDbPerDivision, 3);
    d.setBlock(b);
    auto* op = d.control<QComboBox>("operator");
    EXPECT_FALSE(d.control<QComboBox>("sourceA")->isEnabled());
    EXPECT_FALSE(d.control<QComboBox>("sourceB")->isEnabled());
    EXPECT_TRUE(d.control<QGroupBox>("fftGroup")->isEnabled());
    EXPECT_EQ(d.control<QLabel>("mathVoltDiv")->text(), QStringLiteral("10dB"));
    EXPECT_EQ(d.control<QComboBox>("fftScale")->currentIndex(), 1);

    // Under FFT the operator list still leads back to A + B.
    ASSERT_TRUE(op->isEnabled() && op->isEnabledTo(&d.dialog));
    op->activated(0);
    EXPECT_EQ(d.link.last(), (std::pair<int, int32_t>{int(ScopeCommandKind::MathOperator), 0}));
    b.u16(L::kMathOperatorSettings, 0);
    d.setBlock(b);
    EXPECT_TRUE(d.control<QComboBox>("sourceA")->isEnabled());
    EXPECT_TRUE(d.control<QComboBox>("sourceB")->isEnabled());
    EXPECT_FALSE(d.control<QGroupBox>("fftGroup")->isEnabled());

    b.u32(L::firstChannelRecord(kRef) + L::channel::kVoltsValue, 2000)
        .channel(kRef, L::channel::kShown, 1);
    d.setBlock(b);
    EXPECT_EQ(d.control<QLabel>("refVoltDiv")->text(), QStringLiteral("20.0mV"));
    EXPECT_TRUE(d.control<QCheckBox>("refOn")->isChecked());
}

TEST(SetupDialog, RefreshesByItselfEvery50Ms) {
    Dialog d;
    BlockBuilder b;
    b.channel(kCh1, L::channel::kInvert, 1);
    d.link.data.displayedBlock = b.block;
    auto* invert = d.control<QCheckBox>("invert");
    EXPECT_TRUE(QTest::qWaitFor([&] { return invert->isChecked(); }, 2000));
}

TEST(SetupCommand, WithoutAnInstrumentOnlySaysSo) {
    FakeLink link;
    link.isConnected = false;
    DocumentTemplate type;
    Document document{type};
    auto* view = new ScopeView(document, link.link());
    installScopeTools(*view, link.link());
    MessageRecorder messages;
    ASSERT_TRUE(view->commands().handles(cmd::kScopeSetups));
    EXPECT_TRUE(view->commands().state(cmd::kScopeSetups).enabled);
    view->commands().run(cmd::kScopeSetups);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Can not connect to device!")});
    EXPECT_TRUE(link.posted.empty());
    delete view;
}

TEST(SetupCommand, ToolCommandsOpenTheirDialogsWithoutWaiting) {
    FakeLink link;
    DocumentTemplate type;
    Document document{type};
    auto* view = new ScopeView(document, link.link());
    installScopeTools(*view, link.link());
    view->commands().run(cmd::kScopeSetups);
    auto* setup = view->findChild<SetupDialog*>();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isModal());
    setup->reject();

    view->commands().run(cmd::kScopeCursor);
    auto* cursor = view->findChild<CursorDialog*>();
    ASSERT_NE(cursor, nullptr);
    cursor->typeButton(CursorType::Horizontal)->click();
    EXPECT_EQ(view->screen().cursorChoice().type, CursorType::Horizontal);
    cursor->reject();
    delete view;
}

TEST(CalDataDialog, WaitsForTheWorkerBeforeWritingAndClearsItsFlag) {
    FakeLink link;
    link.data.tdcReadValues = {567, 1234};
    link.data.waveCalibration = {0, 3, 13, 99};
    link.event.take();  // the worker is in the middle of a cycle
    {
        CalDataDialog dialog(link.link());
        EXPECT_EQ(link.data.tdcReadEnable, 1u);
        EXPECT_TRUE(dialog.maxEdit()->text().isEmpty());  // not read while busy
        dialog.maxEdit()->setText(QStringLiteral("1234"));
        dialog.minEdit()->setText(QStringLiteral("567"));
        dialog.minOk()->click();
        EXPECT_TRUE(link.posted.empty());
        link.event.set();
        dialog.refresh();
        EXPECT_EQ(link.posted, (std::vector<std::pair<int, int32_t>>{{69, 567}}));
        EXPECT_EQ(link.data.tdcWriteValues, (std::array<uint32_t, 2>{1234, 567}));
        EXPECT_EQ(dialog.maxValue()->text(), QStringLiteral("1234"));
        EXPECT_EQ(dialog.minValue()->text(), QStringLiteral("567"));
    }
    EXPECT_EQ(link.data.tdcReadEnable, 0u);

    // Opened with the worker idle: the edits and lists show the stored values.
    CalDataDialog dialog(link.link());
    EXPECT_EQ(dialog.maxEdit()->text(), QStringLiteral("1234"));
    EXPECT_EQ(dialog.waveList(1)->currentText(), QStringLiteral("3"));
    EXPECT_EQ(dialog.waveList(2)->currentText(), QStringLiteral("-3"));
    EXPECT_EQ(dialog.waveList(3)->currentIndex(), -1);  // no such offset
    link.posted.clear();
    dialog.waveList(0)->activated(20);
    EXPECT_EQ(link.data.waveCalibration[0], 20u);
    EXPECT_EQ(link.last(), (std::pair<int, int32_t>{127, 0}));
    dialog.updateButton()->click();
    EXPECT_EQ(link.last(), (std::pair<int, int32_t>{130, 1}));
    dialog.reject();
    EXPECT_EQ(link.data.tdcReadEnable, 0u);
}

TEST(CalDataDialog, UpdateButtonTextFollowsTheEtsState) {
    EXPECT_STREQ(etsButtonText(0), "No Update!");
    EXPECT_STREQ(etsButtonText(1), "Update!");
    EXPECT_STREQ(etsButtonText(0xFFFFFFFF), "Update");
    EXPECT_STREQ(etsButtonText(2), "Update");
}
