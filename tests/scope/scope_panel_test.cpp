// The controller panel: what each control posts, the refresh rules and the
// trigger-mode switching of its lists.
#include "scope/scope_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "block_builder.h"
#include "fake_link.h"
#include "model/formatting.h"
#include "shell/message_service.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
namespace L = zelvo::layout;

namespace {

struct Panel {
    FakeLink link;
    ScopePanel panel{link.data, link, link};
    BlockBuilder block;

    Panel() {
        block.shownChannel(0, 10, 100000, 99).shownChannel(1, 8, 20000, 99);
        update();
    }
    void update() {
        link.data.displayedBlock = block.block;
        panel.refresh();
    }
    template <typename T>
    T* get(const char* name) {
        T* w = panel.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* combo(const char* name) { return get<QComboBox>(name); }
    void choose(const char* name, int position) { emit combo(name)->activated(position); }
    void click(const char* name) { get<QToolButton>(name)->click(); }
};

}  // namespace

TEST(ScopePanel, EachControlPostsItsKindAndArgument) {
    struct Case {
        const char* name;
        std::function<void(BlockBuilder&)> block;
        std::function<void(Panel&)> act;
        std::pair<int, int32_t> posted;
    };
    const auto none = [](BlockBuilder&) {};
    const auto alt = [](BlockBuilder& b) { b.u16(L::kTriggerMode, 2); };
    const Case cases[] = {
        {"Run/Stop", none, [](Panel& p) { p.get<QPushButton>("runStop")->click(); }, {48, 0}},
        {"AUTO", none, [](Panel& p) { p.get<QPushButton>("auto")->click(); }, {49, 0}},
        {"Time/DIV", none, [](Panel& p) { p.choose("timeList", 18); }, {51, 20}},
        {"Time/DIV in ALT, channel 1",
         alt,
         [](Panel& p) {
             p.choose("triggerSource", 1);
             p.link.posted.clear();
             p.choose("timeList", 0);
         },
         {83, 2}},
        {"Format", none, [](Panel& p) { p.choose("formatList", 2); }, {84, 2}},
        {"Trigger Mode ALT", none, [](Panel& p) { p.choose("triggerMode", 2); }, {65, 2}},
        {"Trigger Source", none, [](Panel& p) { p.choose("triggerSource", 1); }, {70, 1}},
        {"Trigger Type, ALT channel 0",
         alt,
         [](Panel& p) { p.choose("triggerType", 1); },
         {115, 1}},
        {"Trigger Sweep", none, [](Panel& p) { p.choose("triggerSweep", 2); }, {71, 2}},
        {"Edge slope", none, [](Panel& p) { p.choose("slopeList", 1); }, {73, 1}},
        {"Pulse condition",
         [](BlockBuilder& b) { b.u16(L::kTriggerMode, 1); },
         [](Panel& p) { p.choose("slopeList", 4); },
         {74, 4}},
        {"ALT edge slope, channel 1",
         alt,
         [](Panel& p) {
             p.choose("triggerSource", 1);
             p.choose("slopeList", 1);
         },
         {77, 1}},
        {"ALT pulse condition, channel 0",
         [](BlockBuilder& b) { b.u16(L::kTriggerMode, 2).u16(L::altTriggerRecord(0), 1); },
         [](Panel& p) { p.choose("slopeList", 5); },
         {78, 5}},
        {"CH1 off", none, [](Panel& p) { p.get<QCheckBox>("onOff")->click(); }, {85, 0}},
        {"CH2 on",
         [](BlockBuilder& b) { b.channel(1, L::channel::kShown, 0); },
         [](Panel& p) {
             p.get<QListWidget>("channelList")->setCurrentRow(1);
             p.panel.refresh();
             p.get<QCheckBox>("onOff")->click();
         },
         {86, 1}},
        {"CH1 volts up", none, [](Panel& p) { p.click("voltsUp"); }, {90, 0}},
        {"CH1 volts down", none, [](Panel& p) { p.click("voltsDown"); }, {89, 0}},
        {"CH2 volts up",
         none,
         [](Panel& p) {
             p.get<QListWidget>("channelList")->setCurrentRow(1);
             p.click("voltsUp");
         },
         {92, 0}},
        {"CH2 coupling",
         none,
         [](Panel& p) {
             p.get<QListWidget>("channelList")->setCurrentRow(1);
             p.choose("couplingList", 2);
         },
         {96, 2}},
        {"CH1 probe", none, [](Panel& p) { p.choose("probeList", 3); }, {97, 3}},
        {"Channel reset on double click",
         none,
         [](Panel& p) {
             auto* list = p.get<QListWidget>("channelList");
             emit list->itemDoubleClicked(list->item(0));
         },
         {59, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Panel p;
        c.block(p.block);
        p.update();
        p.link.posted.clear();
        c.act(p);
        ASSERT_FALSE(p.link.posted.empty());
        EXPECT_EQ(p.link.last(), c.posted);
    }
}

TEST(ScopePanel, DefaultSetupOnlyWhenTheQuestionIsAnsweredOk) {
    for (bool ok : {false, true}) {
        MessageRecorder messages;
        messages.setAnswer(ok);
        Panel p;
        p.get<QPushButton>("def")->click();
        EXPECT_EQ(messages.texts(),
                  QStringList{QStringLiteral("Do you want to load default setup?")});
        if (ok)
            EXPECT_EQ(p.link.posted, (std::vector<std::pair<int, int32_t>>{{50, 0}}));
        else
            EXPECT_TRUE(p.link.posted.empty());
    }
}

TEST(ScopePanel, PulseWidthStepsStayWithinTheirBounds) {
    struct Case {
        int mode, altType, source;
        uint32_t width;
        const char* button;
        std::vector<std::pair<int, int32_t>> posted;
    };
    // The up arrow lengthens the pulse, the down arrow shortens it.
    const Case cases[] = {
        {1, 0, 0, 3, "pulseWidthDown", {{112, 2}}},
        {1, 0, 0, 2, "pulseWidthDown", {}},  // does not shorten below 10 ns
        {1, 0, 0, 2, "pulseWidthUp", {{112, 3}}},
        {1, 0, 0, 1999999999, "pulseWidthUp", {{112, 2000000000}}},
        {1, 0, 0, 2000000000, "pulseWidthUp", {}},
        {0, 0, 0, 100, "pulseWidthUp", {}},  // Edge trigger: no pulse width
        {2, 1, 1, 100, "pulseWidthDown", {{114, 99}}},
        {2, 0, 1, 100, "pulseWidthDown", {}},  // ALT channel 1 on an edge trigger
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        Panel p;
        p.block.u16(L::kTriggerMode, c.mode)
            .u32(L::kMainTrigger + L::trigger::kPulseWidth, c.width);
        p.block.u16(L::altTriggerRecord(1), c.altType)
            .u32(L::altTriggerRecord(1) + L::trigger::kPulseWidth, c.width);
        p.update();
        if (c.source) p.choose("triggerSource", c.source);
        p.link.posted.clear();
        p.click(c.button);
        EXPECT_EQ(p.link.posted, c.posted);
    }
}

TEST(ScopePanel, RefreshTouchesAControlOnlyWhenItsValueChanges) {
    Panel p;
    QComboBox* coupling = p.combo("couplingList");
    QComboBox* time = p.combo("timeList");
    p.block.channel(0, L::channel::kCoupling, 1).u16(L::kTimeBase, 19);
    p.update();
    EXPECT_EQ(coupling->currentIndex(), 1);
    EXPECT_EQ(time->currentText(), QStringLiteral("1.000ms"));
    // The user moves the lists; the same block leaves them alone...
    coupling->setCurrentIndex(2);
    time->setCurrentIndex(0);
    p.update();
    EXPECT_EQ(coupling->currentIndex(), 2);
    EXPECT_EQ(time->currentIndex(), 0);
    // ...a changed block value takes over.
    p.block.channel(0, L::channel::kCoupling, 0).u16(L::kTimeBase, 20);
    p.update();
    EXPECT_EQ(coupling->currentIndex(), 0);
    EXPECT_EQ(time->currentText(), QStringLiteral("2.000ms"));
    // Choosing the other channel forces its own values in.
    p.block.channel(1, L::channel::kCoupling, 0);
    coupling->setCurrentIndex(2);
    p.get<QListWidget>("channelList")->setCurrentRow(1);
    p.update();
    EXPECT_EQ(coupling->currentIndex(), 0);
}

TEST(ScopePanel, NothingIsRefreshedWhileDisconnected) {
    Panel p;
    p.link.isConnected = false;
    p.block.channel(0, L::channel::kCoupling, 2);
    p.update();
    EXPECT_EQ(p.combo("couplingList")->currentIndex(), 0);
}

TEST(ScopePanel, VoltsTextCarriesTheProbeFactorOnce) {
    Panel p;
    EXPECT_EQ(p.get<QLineEdit>("voltsText")->text(), QString::fromStdString(VoltText(1000, 0)));
    p.block.channel(0, L::channel::kProbe, 1);
    p.update();
    EXPECT_EQ(p.get<QLineEdit>("voltsText")->text(), QString::fromStdString(VoltText(10000, 0)));
}

TEST(ScopePanel, TriggerModeSwitchesTheLists) {
    Panel p;
    QComboBox* slope = p.combo("slopeList");
    EXPECT_EQ(slope->count(), 2);
    EXPECT_FALSE(p.get<QLineEdit>("pulseWidthText")->isVisibleTo(&p.panel));

    p.block.u16(L::kTriggerMode, 1).u16(L::kMainTrigger + L::trigger::kPulseCondition, 4);
    p.block.u32(L::kMainTrigger + L::trigger::kPulseWidth, 200);
    p.update();
    EXPECT_EQ(slope->count(), 6);
    EXPECT_EQ(slope->currentText(), QStringLiteral("-Equal"));
    EXPECT_EQ(p.get<QLabel>("slopeLabel")->text(), QStringLiteral("Condition"));
    EXPECT_TRUE(p.get<QLineEdit>("pulseWidthText")->isVisibleTo(&p.panel));
    EXPECT_EQ(p.get<QLineEdit>("pulseWidthText")->text(), QString::fromStdString(TimeText(1000)));
    EXPECT_FALSE(p.combo("triggerType")->isEnabled());

    // ALT: the type list opens, and the ALT channel's own trigger decides the slope list.
    p.block.u16(L::kTriggerMode, 2).u16(L::altTriggerRecord(0) + L::trigger::kSlope, 1);
    p.update();
    EXPECT_TRUE(p.combo("triggerType")->isEnabled());
    EXPECT_EQ(p.combo("triggerMode")->currentIndex(), 2);
    EXPECT_EQ(slope->count(), 2);
    EXPECT_EQ(slope->currentIndex(), 1);
    EXPECT_EQ(p.get<QLabel>("slopeLabel")->text(), QStringLiteral("Trigger Slope"));

    p.block.u16(L::altTriggerRecord(0), 1);
    p.update();
    EXPECT_EQ(slope->count(), 6);
    EXPECT_EQ(p.combo("triggerType")->currentIndex(), 1);

    p.block.u16(L::kTriggerMode, 0);
    p.update();
    EXPECT_EQ(slope->count(), 2);
    EXPECT_FALSE(p.combo("triggerType")->isEnabled());
}

TEST(ScopePanel, InAltModeTheTimeListShowsTheAltChannelsTimeBase) {
    Panel p;
    p.block.u16(L::kTriggerMode, 2).u16(L::kTimeBase, 19);
    p.block.channel(0, L::channel::kAltTimeBase, 20).channel(1, L::channel::kAltTimeBase, 21);
    p.update();
    QComboBox* time = p.combo("timeList");
    EXPECT_EQ(time->currentText(), QStringLiteral("2.000ms"));
    // CH2 as the ALT channel: the list follows it, whichever channel the panel shows.
    p.choose("triggerSource", 1);
    p.update();
    EXPECT_EQ(time->currentText(), QStringLiteral("5.000ms"));
    p.get<QListWidget>("channelList")->setCurrentRow(1);
    p.get<QListWidget>("channelList")->setCurrentRow(0);
    p.update();
    EXPECT_EQ(time->currentText(), QStringLiteral("5.000ms"));
    p.link.posted.clear();
    p.choose("timeList", 20);
    EXPECT_EQ(p.link.last(), (std::pair<int, int32_t>{83, 22}));
    // A signed word of -1 right after a forced refresh still reaches the list.
    p.block.channel(0, L::channel::kAltTimeBase, -1);
    p.choose("triggerSource", 0);
    p.update();
    EXPECT_EQ(time->currentIndex(), -1);
}

TEST(ScopePanel, ValuesOutsideTheListsSelectNothing) {
    Panel p;
    p.block.channel(0, L::channel::kCoupling, 7).u16(L::kTimeBase, 1).u16(L::kDisplayFormat, 9);
    p.update();
    EXPECT_EQ(p.combo("couplingList")->currentIndex(), -1);
    EXPECT_EQ(p.combo("timeList")->currentIndex(), -1);
    EXPECT_EQ(p.combo("formatList")->currentIndex(), -1);
}
