// Each command kind of a window becomes the library call of the command
// table: the request Execute sends must be the one the named call sends.
#include "device_link_fixture.h"  // first: see there

#include <gtest/gtest.h>

#include <functional>

#include "scope/scope_session.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane::testing {
namespace {

constexpr DeviceHandle kLan0 = ZELVO_HANDLE(ZELVO_LINK_LAN, 0);

struct Expectation {
    uint32_t kind;
    uint32_t argument;
    std::function<int(DeviceHandle)> call;
};

class CommandTableTest : public DeviceLinkTest {
  protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        ASSERT_EQ(KwLanInit(kLan0, server_->address().c_str()), 0);
        link_.applySettings(lanSettings());
    }
    void TearDown() override {
        KwLanClose(kLan0);
        DeviceLinkTest::TearDown();
    }
    // The requests one action sends.
    std::vector<zelvo::DecodedRequest> sentBy(const std::function<void()>& action) {
        const std::size_t before = requests().size();
        action();
        return requestsSince(before);
    }
    void expectSameRequests(const Expectation& e) {
        const auto byKind = sentBy([&] { execute(e.kind, e.argument); });
        const auto byCall = sentBy([&] { e.call(kLan0); });
        ASSERT_FALSE(byCall.empty());
        ASSERT_EQ(byKind.size(), byCall.size()) << "kind " << e.kind;
        for (std::size_t i = 0; i < byCall.size(); ++i) {
            EXPECT_EQ(byKind[i].opcode, byCall[i].opcode) << "kind " << e.kind;
            EXPECT_EQ(byKind[i].first, byCall[i].first) << "kind " << e.kind;
            EXPECT_EQ(byKind[i].second, byCall[i].second) << "kind " << e.kind;
        }
    }

    // The connection with a fresh session of the function.
    void use(DeviceFunction function) {
        DeviceSession& session = link_.adoptSession(sessionFor(function));
        scope_ = dynamic_cast<ScopeSession*>(&session);
    }
    ScopeData& scopeData() { return scope_->data(); }
    void execute(uint32_t kind, uint32_t argument) {
        link_.Execute({static_cast<uint16_t>(kind), argument});
    }

    CDeviceLink link_;
    ScopeSession* scope_ = nullptr;
};

TEST_F(CommandTableTest, ScopeKindsBecomeTheirLibraryCalls) {
    use(DeviceFunction::Scope);
    const std::vector<Expectation> table = {
        {1, 1, [](DeviceHandle h) { return KwChangeFunction(h, 1); }},
        {49, 0, [](DeviceHandle h) { return DSOAutoSetup(h); }},
        {50, 0, [](DeviceHandle h) { return DSOFactorySetup(h); }},
        {51, 12, [](DeviceHandle h) { return DSOSetTimeBase(h, 0, 12); }},
        {82, 13, [](DeviceHandle h) { return DSOSetTimeBase(h, 0, 13); }},
        {83, 14, [](DeviceHandle h) { return DSOSetTimeBase(h, 1, 14); }},
        {54, 1, [](DeviceHandle h) { return DSOSetFFTSource(h, 1); }},
        {55, 2, [](DeviceHandle h) { return DSOSetFFTWindow(h, 2); }},
        {56, 1, [](DeviceHandle h) { return DSOSetFFTScale(h, 1); }},
        {57, 0, [](DeviceHandle h) { return DSOSetVoltDIVChange(h, 0, 3); }},
        {58, 0, [](DeviceHandle h) { return DSOSetVoltDIVChange(h, 1, 3); }},
        {59, 0, [](DeviceHandle h) { return DSOResetChannel(h, 0); }},
        {60, 0, [](DeviceHandle h) { return DSOResetChannel(h, 1); }},
        {61, 170, [](DeviceHandle h) { return DSOSetHTriggerPos(h, 0, 170); }},
        {62, 3, [](DeviceHandle h) { return DSOSetMathOperator(h, 3); }},
        {65, 2, [](DeviceHandle h) { return DSOSetTriggerMode(h, 2); }},
        {66, 1, [](DeviceHandle h) { return DSOSetTriggerHFReject(h, 255, 1); }},
        {67, 1, [](DeviceHandle h) { return DSOSetTriggerHFReject(h, 0, 1); }},
        {68, 1, [](DeviceHandle h) { return DSOSetTriggerHFReject(h, 1, 1); }},
        {70, 2, [](DeviceHandle h) { return DSOSetTriggerSource(h, 2); }},
        {71, 1, [](DeviceHandle h) { return DSOSetTriggerSweep(h, 1); }},
        {73, 1, [](DeviceHandle h) { return DSOSetTriggerSlope(h, 255, 1); }},
        {76, 1, [](DeviceHandle h) { return DSOSetTriggerSlope(h, 0, 1); }},
        {77, 1, [](DeviceHandle h) { return DSOSetTriggerSlope(h, 1, 1); }},
        {74, 4, [](DeviceHandle h) { return DSOSetPulseTriggerCondition(h, 255, 4); }},
        {78, 4, [](DeviceHandle h) { return DSOSetPulseTriggerCondition(h, 0, 4); }},
        {79, 4, [](DeviceHandle h) { return DSOSetPulseTriggerCondition(h, 1, 4); }},
        {84, 1, [](DeviceHandle h) { return DSOSetFormat(h, 1); }},
        {85, 1, [](DeviceHandle h) { return DSOSetCHEnable(h, 0, 1); }},
        {88, 1, [](DeviceHandle h) { return DSOSetCHEnable(h, 3, 1); }},
        {89, 1, [](DeviceHandle h) { return DSOSetVoltDIVChange(h, 0, 0); }},
        {90, 1, [](DeviceHandle h) { return DSOSetVoltDIVChange(h, 1, 0); }},
        {91, 1, [](DeviceHandle h) { return DSOSetVoltDIVChange(h, 0, 1); }},
        {94, 1, [](DeviceHandle h) { return DSOSetVoltDIVChange(h, 1, 2); }},
        {96, 2, [](DeviceHandle h) { return DSOSetCoupling(h, 1, 2); }},
        {97, 1, [](DeviceHandle h) { return DSOSetProbe(h, 0, 1); }},
        {107, 3, [](DeviceHandle h) { return DSOSetProbe(h, 2, 3); }},
        {100, 1, [](DeviceHandle h) { return DSOSetCoarseOrFine(h, 1, 1); }},
        {106, 1, [](DeviceHandle h) { return DSOSetCoarseOrFine(h, 2, 1); }},
        {102, 1, [](DeviceHandle h) { return DSOSetBWLimit(h, 1, 1); }},
        {105, 1, [](DeviceHandle h) { return DSOSetInvert(h, 2, 1); }},
        {108, 1, [](DeviceHandle h) { return DSOSetMathSource(h, 0, 1); }},
        {109, 0, [](DeviceHandle h) { return DSOSetMathSource(h, 1, 0); }},
        {111, 7, [](DeviceHandle h) { return DSOSetVOLTDIV(h, 1, 7); }},
        {112, 300, [](DeviceHandle h) { return DSOSetPulseTriggerTime(h, 255, 300); }},
        {113, 300, [](DeviceHandle h) { return DSOSetPulseTriggerTime(h, 0, 300); }},
        {114, 300, [](DeviceHandle h) { return DSOSetPulseTriggerTime(h, 1, 300); }},
        {116, 1, [](DeviceHandle h) { return DSOSetALTTrigType(h, 1, 1); }},
        {117, 0, [](DeviceHandle h) { return DSOSetTriggerLevel50(h, 255); }},
        {118, 0, [](DeviceHandle h) { return DSOSetTriggerLevel50(h, 0); }},
        {119, 0, [](DeviceHandle h) { return DSOSetTriggerLevel50(h, 1); }},
        {121, 90, [](DeviceHandle h) { return DSOSetChannelLeverPos(h, 1, 90); }},
        {123, 50, [](DeviceHandle h) { return DSOSetChannelLeverPos(h, 3, 50); }},
        {124, 60, [](DeviceHandle h) { return DSOSetVTriggerLeverPos(h, 0, 60); }},
        {126, 60, [](DeviceHandle h) { return DSOSetVTriggerLeverPos(h, 2, 60); }},
        {129, 1, [](DeviceHandle h) { return DSOSetBW100M(h, 1, 1); }},
    };
    for (const Expectation& e : table) expectSameRequests(e);
}

TEST_F(CommandTableTest, CalibrationKindsSendTheScopeDataValues) {
    use(DeviceFunction::Scope);
    scopeData().tdcWriteValues = {1234, 567};
    scopeData().waveCalibration = {3, static_cast<uint32_t>(-2), 10, 0};
    expectSameRequests({69, 0, [](DeviceHandle h) { return KwWriteTDC(h, 1234, 567); }});
    expectSameRequests({127, 0, [](DeviceHandle h) {
                            const int32_t cal[4] = {3, -2, 10, 0};
                            return KwWriteWaveCalData(h, cal);
                        }});
}

TEST_F(CommandTableTest, RunStopTogglesAgainstTheDisplayedState) {
    use(DeviceFunction::Scope);
    ScopeData::Block& shown = scopeData().displayedBlock;
    shown[zelvo::layout::kRunStop] = 1;  // stopped: the toggle runs
    expectSameRequests({48, 0, [](DeviceHandle h) { return DSOSetStatus(h, 0); }});
    shown[zelvo::layout::kRunStop] = 0;  // running: the toggle stops
    expectSameRequests({48, 0, [](DeviceHandle h) { return DSOSetStatus(h, 1); }});
}

TEST_F(CommandTableTest, EtsToggleFlipsTheInstrumentsFlagAndSkipsWhenItCannotBeRead) {
    use(DeviceFunction::Scope);
    uint8_t before = 0;
    ASSERT_EQ(KwGetETSUpdate(kLan0, &before), 0);
    execute(130, 1);
    uint8_t after = 0;
    ASSERT_EQ(KwGetETSUpdate(kLan0, &after), 0);
    EXPECT_EQ(after, before ^ 1u);
    EXPECT_EQ(scopeData().etsState, after);

    setFaults({.silent = true});
    const auto sent = sentBy([&] { execute(130, 1); });
    // Only the failed read went out: no set of a made-up value.
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].opcode, zelvo::Opcode::Get);
    EXPECT_EQ(scopeData().etsState, after);
}

TEST_F(CommandTableTest, MeterKindsBecomeTheirCallsAndOnlyFailuresAreReported) {
    use(DeviceFunction::Meter);
    expectSameRequests({16, 2, [](DeviceHandle h) { return DMMSetMeasureMode(h, 2); }});
    expectSameRequests({20, 3, [](DeviceHandle h) { return DMMSetVoltRange(h, 3); }});
    expectSameRequests({25, 1, [](DeviceHandle h) { return DMMSetCurrentAmA(h, 1); }});
    expectSameRequests({29, 1, [](DeviceHandle h) { return DMMSetCapRel(h, 1); }});
    EXPECT_TRUE(messages_.texts().isEmpty());

    setFaults({.refuseAcknowledgements = true});
    execute(24, 1);
    execute(27, 2);
    EXPECT_EQ(messages_.texts(), (QStringList{QStringLiteral("Can not set DMM current range!"),
                                              QStringLiteral("Can not set DMM ohm range!")}));
}

TEST_F(CommandTableTest, KindsOutsideTheWindowsTableSendNothing) {
    struct Case {
        DeviceFunction function;
        uint32_t kind;
    };
    for (const Case& c : {Case{DeviceFunction::Scope, 16}, Case{DeviceFunction::Scope, 131},
                          Case{DeviceFunction::Scope, 72}, Case{DeviceFunction::Meter, 51},
                          Case{DeviceFunction::Meter, 30}, Case{DeviceFunction::Generator, 33},
                          Case{DeviceFunction::Generator, 16}}) {
        use(c.function);
        EXPECT_TRUE(sentBy([&] { execute(c.kind, 1); }).empty()) << "kind " << c.kind;
    }
}

}  // namespace
}  // namespace oscilane::testing
