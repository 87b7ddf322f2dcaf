// Each window command, built with its function's typed builder, goes through
// the function's session to the simulated instrument: the test checks the set
// commands the instrument received and the setting it now holds.
#include "device_link_fixture.h"  // first: see there

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "generator/generator_commands.h"
#include "meter/meter_commands.h"
#include "protocol/value_packing.h"
#include "scope/scope_commands.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane::testing {
namespace {

namespace sc = scope_command;
using zelvo::Command;
using zelvo::sim::ChannelState;
using zelvo::sim::Instrument;
using zelvo::sim::MeterState;
using zelvo::sim::ScopeState;
using zelvo::sim::TriggerState;

constexpr DeviceHandle kLan0 = ZELVO_HANDLE(ZELVO_LINK_LAN, 0);

// One setting of the instrument, read as a number.
using Reader = std::function<int64_t(const Instrument&)>;

template <class T>
Reader channelField(ScopeChannel channel, T ChannelState::*field) {
    return [=](const Instrument& i) {
        return static_cast<int64_t>(i.scope().channels[static_cast<std::size_t>(channel)].*field);
    };
}
template <class T>
Reader triggerField(TriggerRecord record, T TriggerState::*field) {
    return [=](const Instrument& i) {
        const ScopeState& s = i.scope();
        const TriggerState& t = record == TriggerRecord::Main       ? s.mainTrigger
                                : record == TriggerRecord::AltFirst ? s.altTriggers[0]
                                                                    : s.altTriggers[1];
        return static_cast<int64_t>(t.*field);
    };
}
template <class T>
Reader scopeField(T ScopeState::*field) {
    return [=](const Instrument& i) { return static_cast<int64_t>(i.scope().*field); };
}
template <class T>
Reader meterField(T MeterState::*field) {
    return [=](const Instrument& i) { return static_cast<int64_t>(i.meter().*field); };
}
Reader altTimeBase(AltChannel alt) {
    return [=](const Instrument& i) {
        return static_cast<int64_t>(i.scope().altTimeBase[static_cast<std::size_t>(alt)]);
    };
}
Reader mathSource(int operand) {
    return [=](const Instrument& i) {
        return static_cast<int64_t>(i.scope().mathSources[static_cast<std::size_t>(operand)]);
    };
}
// For settings the instrument only stores: the value last set, -1 for none.
Reader received(Command command) {
    return [=](const Instrument& i) {
        const auto v = i.lastSetValue(zelvo::code(command));
        return v ? static_cast<int64_t>(*v) : -1;
    };
}
// The channel or record a set command named (bits 16-23 of its value), -1 for none.
Reader receivedSelector(Command command) {
    return [=](const Instrument& i) {
        const auto v = i.lastSetValue(zelvo::code(command));
        return v ? static_cast<int64_t>((*v >> 16) & 0xFF) : -1;
    };
}

struct Row {
    std::string name;
    QueuedCommand command;
    Command sent;  // the one set command it becomes
    Reader state;
    int64_t expected;
    std::vector<QueuedCommand> given = {};  // executed first
};

class CommandRoundTripTest : public DeviceLinkTest {
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

    // The connection with a fresh session of the function.
    void use(DeviceFunction function) {
        DeviceSession& session = link_.adoptSession(sessionFor(function));
        scope_ = dynamic_cast<ScopeSession*>(&session);
    }
    ScopeData& scopeData() { return scope_->data(); }
    void execute(QueuedCommand c) { link_.Execute(c); }

    // The requests one action sends.
    std::vector<zelvo::DecodedRequest> sentBy(const std::function<void()>& action) {
        const std::size_t before = requests().size();
        action();
        return requestsSince(before);
    }
    int64_t read(const Reader& state) {
        return instrument_.inspect([&](Instrument& i, zelvo::sim::Responder&) { return state(i); });
    }
    void freshInstrument() {
        instrument_.inspect([](Instrument& i, zelvo::sim::Responder&) { i = Instrument{}; });
    }

    // From a freshly started instrument, the row's command changes the
    // instrument's setting to the expected value with exactly its set command.
    void expectRoundTrip(const Row& row) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(row.command.empty());
        freshInstrument();
        for (const QueuedCommand& c : row.given) execute(c);
        ASSERT_NE(read(row.state), row.expected) << "the command would change nothing";
        const auto sent = sentBy([&] { execute(row.command); });
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].opcode, zelvo::Opcode::Set);
        EXPECT_EQ(sent[0].first, zelvo::code(row.sent));
        EXPECT_EQ(read(row.state), row.expected);
    }

    CDeviceLink link_;
    ScopeSession* scope_ = nullptr;
};

TEST_F(CommandRoundTripTest, ScopeCommandsChangeTheInstrumentsSettings) {
    use(DeviceFunction::Scope);
    using C = ScopeChannel;
    using R = TriggerRecord;
    using A = AltChannel;
    const QueuedCommand altMode = sc::triggerMode(TriggerMode::Alt);
    const QueuedCommand ch1Moved = sc::position(C::Ch1, 10);
    const std::vector<Row> table = {
        {"change function",
         {kChangeFunctionCommand, static_cast<uint32_t>(DeviceFunction::Meter)},
         Command::Function,
         received(Command::Function),
         1},
        {"auto setup",
         sc::autoSetup(),
         Command::AutoSetup,
         channelField(C::Ch1, &ChannelState::position),
         60,
         {ch1Moved}},
        {"default setup",
         sc::defaultSetup(),
         Command::FactorySetup,
         channelField(C::Ch1, &ChannelState::position),
         60,
         {ch1Moved}},
        {"time base", sc::timeBase(R::Main, 12), Command::TimeBase,
         scopeField(&ScopeState::timeBase), 12},
        {"ALT time base 1",
         sc::timeBase(R::AltFirst, 13),
         Command::TimeBase,
         altTimeBase(A::First),
         13,
         {altMode}},
        {"ALT time base 2",
         sc::timeBase(R::AltSecond, 14),
         Command::TimeBase,
         altTimeBase(A::Second),
         14,
         {altMode}},
        {"FFT source", sc::fftSource(1), Command::FftSource, scopeField(&ScopeState::fftSource), 1},
        {"FFT window", sc::fftWindow(2), Command::FftWindow, scopeField(&ScopeState::fftWindow), 2},
        {"FFT scale", sc::fftScale(1), Command::FftScale, scopeField(&ScopeState::fftScale), 1},
        {"math operator", sc::mathOperator(3), Command::MathOperator,
         scopeField(&ScopeState::mathOperator), 3},
        {"math source A", sc::mathSource(0, 1), Command::MathSourceFirst, mathSource(0), 1},
        {"math source B", sc::mathSource(1, 0), Command::MathSourceSecond, mathSource(1), 0},
        {"horizontal trigger", sc::horizontalTrigger(170), Command::HorizontalTriggerPosition,
         scopeField(&ScopeState::horizontalTriggerPosition), 170},
        {"trigger mode", altMode, Command::TriggerMode, scopeField(&ScopeState::triggerMode), 2},
        {"trigger source", sc::triggerSource(2), Command::TriggerSource,
         triggerField(R::Main, &TriggerState::source), 2},
        {"trigger sweep", sc::triggerSweep(1), Command::TriggerSweep,
         triggerField(R::Main, &TriggerState::sweep), 1},
        {"format", sc::format(DisplayFormat::XY), Command::DisplayFormat,
         scopeField(&ScopeState::displayFormat), 1},
        // Trigger records: the main trigger and the two ALT channels'.
        {"HF reject", sc::hfReject(R::Main, true), Command::TriggerHfReject,
         triggerField(R::Main, &TriggerState::hfReject), 1},
        {"ALT HF reject 1", sc::hfReject(R::AltFirst, true), Command::TriggerHfReject,
         triggerField(R::AltFirst, &TriggerState::hfReject), 1},
        {"ALT HF reject 2", sc::hfReject(R::AltSecond, true), Command::TriggerHfReject,
         triggerField(R::AltSecond, &TriggerState::hfReject), 1},
        {"edge slope", sc::edgeSlope(R::Main, 1), Command::TriggerSlope,
         triggerField(R::Main, &TriggerState::slope), 1},
        {"ALT edge slope 1", sc::edgeSlope(R::AltFirst, 1), Command::TriggerSlope,
         triggerField(R::AltFirst, &TriggerState::slope), 1},
        {"ALT edge slope 2", sc::edgeSlope(R::AltSecond, 1), Command::TriggerSlope,
         triggerField(R::AltSecond, &TriggerState::slope), 1},
        {"pulse condition", sc::pulseCondition(R::Main, 4), Command::PulseTriggerCondition,
         triggerField(R::Main, &TriggerState::pulseCondition), 4},
        {"ALT pulse condition 1", sc::pulseCondition(R::AltFirst, 4),
         Command::PulseTriggerCondition, triggerField(R::AltFirst, &TriggerState::pulseCondition),
         4},
        {"ALT pulse condition 2", sc::pulseCondition(R::AltSecond, 4),
         Command::PulseTriggerCondition, triggerField(R::AltSecond, &TriggerState::pulseCondition),
         4},
        {"pulse width", sc::pulseWidth(R::Main, 300), Command::PulseTriggerTime,
         triggerField(R::Main, &TriggerState::pulseWidth), 300},
        {"ALT pulse width 1",
         sc::pulseWidth(R::AltFirst, 300),
         Command::PulseTriggerTime,
         triggerField(R::AltFirst, &TriggerState::pulseWidth),
         300,
         {altMode}},
        {"ALT pulse width 2",
         sc::pulseWidth(R::AltSecond, 300),
         Command::PulseTriggerTime,
         triggerField(R::AltSecond, &TriggerState::pulseWidth),
         300,
         {altMode}},
        // The level goes to 50 % of the main trigger source's swing whichever
        // record names it: what tells them apart is the selector sent.
        {"level 50 %", sc::level50(R::Main), Command::TriggerLevel50,
         received(Command::TriggerLevel50), 255},
        {"ALT level 50 % 1", sc::level50(R::AltFirst), Command::TriggerLevel50,
         received(Command::TriggerLevel50), 0},
        {"ALT level 50 % 2", sc::level50(R::AltSecond), Command::TriggerLevel50,
         received(Command::TriggerLevel50), 1},
        {"ALT type 1", sc::altType(A::First, TriggerMode::Pulse), Command::AltTriggerType,
         triggerField(R::AltFirst, &TriggerState::type), 1},
        {"ALT type 2", sc::altType(A::Second, TriggerMode::Pulse), Command::AltTriggerType,
         triggerField(R::AltSecond, &TriggerState::type), 1},
        // Channels.
        {"CH1 shown", sc::shown(C::Ch1, false), Command::ChannelEnable,
         channelField(C::Ch1, &ChannelState::shown), 0},
        {"CH2 shown", sc::shown(C::Ch2, false), Command::ChannelEnable,
         channelField(C::Ch2, &ChannelState::shown), 0},
        {"MATH shown", sc::shown(C::Math, true), Command::ChannelEnable,
         channelField(C::Math, &ChannelState::shown), 1},
        {"REF shown", sc::shown(C::Ref, true), Command::ChannelEnable,
         channelField(C::Ref, &ChannelState::shown), 1},
        {"CH1 volts down", sc::voltsStep(C::Ch1, false), Command::VoltsPerDivisionStep,
         channelField(C::Ch1, &ChannelState::voltsIndex), 8},
        {"CH1 volts up", sc::voltsStep(C::Ch1, true), Command::VoltsPerDivisionStep,
         channelField(C::Ch1, &ChannelState::voltsIndex), 10},
        {"CH2 volts down", sc::voltsStep(C::Ch2, false), Command::VoltsPerDivisionStep,
         channelField(C::Ch2, &ChannelState::voltsIndex), 8},
        {"CH2 volts up", sc::voltsStep(C::Ch2, true), Command::VoltsPerDivisionStep,
         channelField(C::Ch2, &ChannelState::voltsIndex), 10},
        {"MATH volts down", sc::voltsStep(C::Math, false), Command::VoltsPerDivisionStep,
         channelField(C::Math, &ChannelState::voltsIndex), 8},
        {"MATH volts up", sc::voltsStep(C::Math, true), Command::VoltsPerDivisionStep,
         channelField(C::Math, &ChannelState::voltsIndex), 10},
        {"REF volts down", sc::voltsStep(C::Ref, false), Command::VoltsPerDivisionStep,
         channelField(C::Ref, &ChannelState::voltsIndex), 8},
        {"REF volts up", sc::voltsStep(C::Ref, true), Command::VoltsPerDivisionStep,
         channelField(C::Ref, &ChannelState::voltsIndex), 10},
        {"CH1 volts index", sc::voltsIndex(C::Ch1, 3), Command::VoltsPerDivision,
         channelField(C::Ch1, &ChannelState::voltsIndex), 3},
        {"CH2 volts index", sc::voltsIndex(C::Ch2, 7), Command::VoltsPerDivision,
         channelField(C::Ch2, &ChannelState::voltsIndex), 7},
        {"CH1 coupling", sc::coupling(C::Ch1, 0), Command::Coupling,
         channelField(C::Ch1, &ChannelState::coupling), 0},
        {"CH2 coupling", sc::coupling(C::Ch2, 2), Command::Coupling,
         channelField(C::Ch2, &ChannelState::coupling), 2},
        {"CH1 probe", sc::probe(C::Ch1, 1), Command::Probe,
         channelField(C::Ch1, &ChannelState::probe), 1},
        {"CH2 probe", sc::probe(C::Ch2, 2), Command::Probe,
         channelField(C::Ch2, &ChannelState::probe), 2},
        {"MATH probe", sc::probe(C::Math, 3), Command::Probe,
         channelField(C::Math, &ChannelState::probe), 3},
        {"CH1 fine", sc::coarseFine(C::Ch1, true), Command::CoarseOrFine,
         channelField(C::Ch1, &ChannelState::voltsStep), 1},
        {"CH2 fine", sc::coarseFine(C::Ch2, true), Command::CoarseOrFine,
         channelField(C::Ch2, &ChannelState::voltsStep), 1},
        {"MATH fine", sc::coarseFine(C::Math, true), Command::CoarseOrFine,
         channelField(C::Math, &ChannelState::voltsStep), 1},
        {"CH1 invert", sc::invert(C::Ch1, true), Command::Invert,
         channelField(C::Ch1, &ChannelState::invert), 1},
        {"CH2 invert", sc::invert(C::Ch2, true), Command::Invert,
         channelField(C::Ch2, &ChannelState::invert), 1},
        {"MATH invert", sc::invert(C::Math, true), Command::Invert,
         channelField(C::Math, &ChannelState::invert), 1},
        {"CH1 BW limit", sc::bwLimit(C::Ch1, true), Command::BandwidthLimit,
         channelField(C::Ch1, &ChannelState::bandwidth20M), 1},
        {"CH2 BW limit", sc::bwLimit(C::Ch2, true), Command::BandwidthLimit,
         channelField(C::Ch2, &ChannelState::bandwidth20M), 1},
        {"CH1 100 MHz", sc::bw100M(C::Ch1, true), Command::Bandwidth100M,
         channelField(C::Ch1, &ChannelState::bandwidth100M), 1},
        {"CH2 100 MHz", sc::bw100M(C::Ch2, true), Command::Bandwidth100M,
         channelField(C::Ch2, &ChannelState::bandwidth100M), 1},
        // A reset brings the channel's lever back to the centre line.
        {"CH1 reset", sc::reset(C::Ch1), Command::ChannelPosition,
         channelField(C::Ch1, &ChannelState::position), 100},
        {"CH2 reset", sc::reset(C::Ch2), Command::ChannelPosition,
         channelField(C::Ch2, &ChannelState::position), 100},
        {"CH1 position", ch1Moved, Command::ChannelPosition,
         channelField(C::Ch1, &ChannelState::position), 10},
        {"CH2 position", sc::position(C::Ch2, 90), Command::ChannelPosition,
         channelField(C::Ch2, &ChannelState::position), 90},
        {"MATH position", sc::position(C::Math, 30), Command::ChannelPosition,
         channelField(C::Math, &ChannelState::position), 30},
        {"REF position", sc::position(C::Ref, 50), Command::ChannelPosition,
         channelField(C::Ref, &ChannelState::position), 50},
        {"CH1 trigger level", sc::triggerLevel(LevelSource::Ch1, 20), Command::TriggerLevelPosition,
         channelField(C::Ch1, &ChannelState::triggerLevel), 20},
        {"CH2 trigger level", sc::triggerLevel(LevelSource::Ch2, 90), Command::TriggerLevelPosition,
         channelField(C::Ch2, &ChannelState::triggerLevel), 90},
        // EXT's level is held as CH1's: the selector sent tells them apart.
        {"EXT trigger level", sc::triggerLevel(LevelSource::Ext, 50), Command::TriggerLevelPosition,
         channelField(C::Ch1, &ChannelState::triggerLevel), 50},
        // A recalled setup sets MATH's and REF's volts and run/stop directly.
        {"MATH volts index", sc::voltsIndex(C::Math, 4), Command::VoltsPerDivision,
         channelField(C::Math, &ChannelState::voltsIndex), 4},
        {"REF volts index", sc::voltsIndex(C::Ref, 12), Command::VoltsPerDivision,
         channelField(C::Ref, &ChannelState::voltsIndex), 12},
        {"stop", sc::run(false), Command::RunStatus, scopeField(&ScopeState::running), 0},
        {"run",
         sc::run(true),
         Command::RunStatus,
         scopeField(&ScopeState::running),
         1,
         {sc::run(false)}},
        {"EXT trigger level selector", sc::triggerLevel(LevelSource::Ext, 50),
         Command::TriggerLevelPosition, receivedSelector(Command::TriggerLevelPosition),
         kExtSource},
    };
    for (const Row& row : table) expectRoundTrip(row);
}

TEST_F(CommandRoundTripTest, CalibrationCommandsSendTheScopeDataValues) {
    use(DeviceFunction::Scope);
    scopeData().tdcWriteValues = {1234, 567};
    scopeData().waveCalibration = {3, static_cast<uint32_t>(-2), 10, 0};
    // The argument is only the value shown: the data area's values are sent.
    expectRoundTrip({"TDC", sc::writeTdc(99), Command::TdcCalibration,
                     received(Command::TdcCalibration), zelvo::packTdc(1234, 567)});
    expectRoundTrip({"wave calibration", sc::writeWaveCalibration(), Command::WaveCalibration,
                     received(Command::WaveCalibration), zelvo::packCalibration({3, -2, 10, 0})});
}

TEST_F(CommandRoundTripTest, RunStopTogglesAgainstTheDisplayedState) {
    use(DeviceFunction::Scope);
    ScopeData::Block& shown = scopeData().displayedBlock;
    const Reader running = scopeField(&ScopeState::running);
    // The instrument runs; the window shows it running: the toggle stops it.
    shown[zelvo::layout::kRunStop] = 0;
    execute(sc::runStop());
    EXPECT_EQ(read(running), 0);
    // The window has not caught up and still shows it running: stopped again.
    execute(sc::runStop());
    EXPECT_EQ(read(running), 0);
    // Shown stopped: the toggle runs it.
    shown[zelvo::layout::kRunStop] = 1;
    execute(sc::runStop());
    EXPECT_EQ(read(running), 1);
}

TEST_F(CommandRoundTripTest, EtsToggleFlipsTheInstrumentsFlagAndSkipsWhenItCannotBeRead) {
    use(DeviceFunction::Scope);
    const Reader ets = received(Command::EtsUpdate);
    ASSERT_EQ(read(ets), -1);  // never set: the instrument reports 0
    execute(sc::etsToggle());
    EXPECT_EQ(read(ets), 1);
    EXPECT_EQ(scopeData().etsState, 1);
    execute(sc::etsToggle());
    EXPECT_EQ(read(ets), 0);
    EXPECT_EQ(scopeData().etsState, 0);

    setFaults({.silent = true});
    const auto sent = sentBy([&] { execute(sc::etsToggle()); });
    // Only the failed read went out: no set of a made-up value.
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].opcode, zelvo::Opcode::Get);
    EXPECT_EQ(read(ets), 0);
    EXPECT_EQ(scopeData().etsState, 0);
}

TEST_F(CommandRoundTripTest, MeterCommandsChangeTheMetersSettingsAndOnlyFailuresAreReported) {
    use(DeviceFunction::Meter);
    using K = MeterCommandKind;
    const auto meter = [](K kind, uint8_t argument) { return queued({kind, argument}); };
    const Reader relative = meterField(&MeterState::relative);
    const Reader manual = meterField(&MeterState::manualRange);
    const Reader ac = meterField(&MeterState::ac);
    const std::vector<Row> table = {
        {"measure mode", meter(K::MeasureMode, 2), Command::MeterMeasureMode,
         meterField(&MeterState::mode), 2},
        {"volt AC/DC", meter(K::VoltAcDc, 1), Command::MeterVoltAcDc, ac, 1},
        {"volt REL", meter(K::VoltRel, 1), Command::MeterVoltRelative, relative, 1},
        {"volt manual", meter(K::VoltMode, 1), Command::MeterVoltMode, manual, 1},
        {"volt range", meter(K::VoltRange, 3), Command::MeterVoltRange,
         meterField(&MeterState::voltRange), 3},
        {"current AC/DC", meter(K::CurrentAcDc, 1), Command::MeterCurrentAcDc, ac, 1},
        {"current REL", meter(K::CurrentRel, 1), Command::MeterCurrentRelative, relative, 1},
        {"current manual", meter(K::CurrentMode, 1), Command::MeterCurrentMode, manual, 1},
        {"current range", meter(K::CurrentRange, 0), Command::MeterCurrentRange,
         meterField(&MeterState::currentRange), 0},
        {"current input", meter(K::CurrentAmA, 0), Command::MeterCurrentInput,
         meterField(&MeterState::milliamps), 0},
        {"ohm manual", meter(K::OhmMode, 1), Command::MeterResistanceMode, manual, 1},
        {"ohm range", meter(K::OhmRange, 3), Command::MeterResistanceRange,
         meterField(&MeterState::resistanceRange), 3},
        {"ohm REL", meter(K::OhmRel, 1), Command::MeterResistanceRelative, relative, 1},
        {"capacitance REL", meter(K::CapRel, 1), Command::MeterCapacitanceRelative, relative, 1},
    };
    for (const Row& row : table) expectRoundTrip(row);
    EXPECT_TRUE(messages_.texts().isEmpty());

    setFaults({.refuseAcknowledgements = true});
    execute(meter(K::CurrentRange, 1));
    execute(meter(K::OhmRange, 2));
    EXPECT_EQ(messages_.texts(), (QStringList{QStringLiteral("Can not set DMM current range!"),
                                              QStringLiteral("Can not set DMM ohm range!")}));
}

TEST_F(CommandRoundTripTest, CommandsOutsideTheSessionsVocabularySendNothing) {
    const auto past = [](auto lastKind) {
        return QueuedCommand{static_cast<uint16_t>(static_cast<uint16_t>(lastKind) + 1), 1};
    };
    const QueuedCommand meterKind = queued({MeterCommandKind::MeasureMode, 1});
    struct Case {
        DeviceFunction function;
        QueuedCommand command;
    };
    std::vector<Case> cases = {
        {DeviceFunction::Scope, meterKind},
        {DeviceFunction::Scope, past(ScopeCommandKind::Run)},
        // The scope's kinds leave gaps; one follows the trigger sweep.
        {DeviceFunction::Scope, past(ScopeCommandKind::TriggerSweep)},
        {DeviceFunction::Meter, sc::timeBase(TriggerRecord::Main, 1)},
        {DeviceFunction::Meter, past(MeterCommandKind::CapRel)},
        {DeviceFunction::Generator, meterKind},
    };
    // The generator's commands stay in the window.
    for (auto kind : {GeneratorCommandKind::Changed, GeneratorCommandKind::Frequency,
                      GeneratorCommandKind::SyncOut, GeneratorCommandKind::PowerOn})
        cases.push_back({DeviceFunction::Generator, generatorCommand(kind, true)});
    for (const Case& c : cases) {
        use(c.function);
        EXPECT_TRUE(sentBy([&] { execute(c.command); }).empty()) << "kind " << c.command.kind;
    }
}

}  // namespace
}  // namespace oscilane::testing
