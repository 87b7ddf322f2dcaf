// The scope's command vocabulary.  Controls, knobs, dialogs and marker drags
// build their commands with the typed functions below; the session
// (scope_session.cpp) turns each back into its library call.  The kind numbers
// are what the window's queue carries; they are the instrument windows' own
// and never change.  A setting of several channels or trigger records has one
// kind per channel or record, listed once in the rows at the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "device/queued_command.h"
#include "model/scope_settings.h"

namespace oscilane {

enum class ScopeCommandKind : uint16_t {
    RunStop = 48,
    AutoSetup = 49,
    DefaultSetup = 50,
    TimeBase = 51,
    FftSource = 54,
    FftWindow = 55,
    FftScale = 56,
    RefVoltsDown = 57,
    RefVoltsUp = 58,
    Ch1Reset = 59,
    Ch2Reset = 60,
    HorizontalTrigger = 61,
    MathOperator = 62,
    TriggerMode = 65,
    HfReject = 66,
    AltHfRejectFirst = 67,
    AltHfRejectSecond = 68,
    WriteTdc = 69,
    TriggerSource = 70,
    TriggerSweep = 71,
    EdgeSlope = 73,
    PulseCondition = 74,
    AltEdgeSlopeFirst = 76,
    AltEdgeSlopeSecond = 77,
    AltConditionFirst = 78,
    AltConditionSecond = 79,
    AltTimeBaseFirst = 82,
    AltTimeBaseSecond = 83,
    Format = 84,
    Ch1Shown = 85,
    Ch2Shown = 86,
    MathShown = 87,
    RefShown = 88,
    Ch1VoltsDown = 89,
    Ch1VoltsUp = 90,
    Ch2VoltsDown = 91,
    Ch2VoltsUp = 92,
    MathVoltsDown = 93,
    MathVoltsUp = 94,
    Ch1Coupling = 95,
    Ch2Coupling = 96,
    Ch1Probe = 97,
    Ch2Probe = 98,
    Ch1CoarseFine = 99,
    Ch2CoarseFine = 100,
    Ch1BwLimit = 101,
    Ch2BwLimit = 102,
    Ch1Invert = 103,
    Ch2Invert = 104,
    MathInvert = 105,
    MathCoarseFine = 106,
    MathProbe = 107,
    MathSourceA = 108,
    MathSourceB = 109,
    Ch1VoltsIndex = 110,
    Ch2VoltsIndex = 111,
    PulseWidth = 112,
    AltPulseWidthFirst = 113,
    AltPulseWidthSecond = 114,
    AltTypeFirst = 115,
    AltTypeSecond = 116,
    Level50 = 117,
    AltLevel50First = 118,
    AltLevel50Second = 119,
    Ch1Position = 120,
    Ch2Position = 121,
    MathPosition = 122,
    RefPosition = 123,
    Ch1TriggerLevel = 124,
    Ch2TriggerLevel = 125,
    ExtTriggerLevel = 126,
    WriteWaveCalibration = 127,
    Ch1Bw100M = 128,
    Ch2Bw100M = 129,
    EtsToggle = 130,
    // Recalling a setup sets these directly, where the controls step or toggle.
    MathVoltsIndex = 131,
    RefVoltsIndex = 132,
    Run = 133,
};

// The waveforms a command names, numbered as the instrument numbers them.
enum class ScopeChannel : uint8_t { Ch1 = kCh1, Ch2 = kCh2, Math = kMath, Ref = kRef };
constexpr ScopeChannel scopeChannel(int channel) { return static_cast<ScopeChannel>(channel); }
// The two channels of ALT trigger mode, as the trigger source list numbers them.
enum class AltChannel : uint8_t { First = 0, Second = 1 };
constexpr AltChannel altChannel(int channel) { return static_cast<AltChannel>(channel); }
// The trigger records: the main trigger, then those of the two ALT channels.
enum class TriggerRecord : uint8_t { Main, AltFirst, AltSecond };
constexpr TriggerRecord altRecord(AltChannel alt) {
    return alt == AltChannel::First ? TriggerRecord::AltFirst : TriggerRecord::AltSecond;
}
// Whose trigger level a command moves.
enum class LevelSource : uint8_t { Ch1 = kCh1, Ch2 = kCh2, Ext = kExtSource };

// The commands.  List positions are those of the window's lists, which show
// the instrument's choices in its own order.
namespace scope_command {

QueuedCommand runStop();     // toggles the state the window shows
QueuedCommand run(bool on);  // runs when on, stops otherwise
QueuedCommand autoSetup();
QueuedCommand defaultSetup();
// The main record's outside ALT trigger mode, an ALT channel's in it.
QueuedCommand timeBase(TriggerRecord record, int timeBaseIndex);
QueuedCommand fftSource(int listPosition);
QueuedCommand fftWindow(int listPosition);
QueuedCommand fftScale(int listPosition);
QueuedCommand mathOperator(int operatorIndex);
QueuedCommand mathSource(int operand, int sourceIndex);  // operand 0 or 1
QueuedCommand horizontalTrigger(int position);           // 0..300
QueuedCommand triggerMode(TriggerMode mode);
QueuedCommand triggerSource(int listPosition);
QueuedCommand triggerSweep(int listPosition);
QueuedCommand format(DisplayFormat format);
QueuedCommand hfReject(TriggerRecord record, bool on);
QueuedCommand edgeSlope(TriggerRecord record, int listPosition);
QueuedCommand pulseCondition(TriggerRecord record, int condition);  // 0..5
QueuedCommand pulseWidth(TriggerRecord record, uint32_t units5ns);
QueuedCommand level50(TriggerRecord record);              // trigger level to 50 %
QueuedCommand altType(AltChannel alt, TriggerMode type);  // Edge or Pulse
QueuedCommand shown(ScopeChannel channel, bool on);
// One volts-per-division step, to larger volts when `up`.
QueuedCommand voltsStep(ScopeChannel channel, bool up);
QueuedCommand voltsIndex(ScopeChannel channel, int voltsIndex);
QueuedCommand coupling(ScopeChannel channel, int couplingIndex);  // CH1, CH2
QueuedCommand probe(ScopeChannel channel, int probeIndex);        // CH1, CH2, MATH
QueuedCommand coarseFine(ScopeChannel channel, bool fine);        // CH1, CH2, MATH
QueuedCommand invert(ScopeChannel channel, bool on);              // CH1, CH2, MATH
QueuedCommand bwLimit(ScopeChannel channel, bool on);             // CH1, CH2
QueuedCommand bw100M(ScopeChannel channel, bool on);              // CH1, CH2
QueuedCommand reset(ScopeChannel channel);                        // CH1, CH2
QueuedCommand position(ScopeChannel channel, int lever);          // lever 0..199
QueuedCommand triggerLevel(LevelSource source, int lever);        // lever 0..199
// Write the data area's two TDC values (the argument is the one shown) and
// its calibration record; flip the instrument's ETS flag.
QueuedCommand writeTdc(uint32_t shownValue);
QueuedCommand writeWaveCalibration();
QueuedCommand etsToggle();

}  // namespace scope_command

// The kinds of one setting by channel, record or operand: what the typed
// functions pick from and the session finds its target in.
namespace scope_rows {

using K = ScopeCommandKind;
template <std::size_t N>
using Row = std::array<K, N>;

// By ScopeChannel.
inline constexpr Row<4> kShown = {K::Ch1Shown, K::Ch2Shown, K::MathShown, K::RefShown};
inline constexpr Row<4> kVoltsDown = {K::Ch1VoltsDown, K::Ch2VoltsDown, K::MathVoltsDown,
                                      K::RefVoltsDown};
inline constexpr Row<4> kVoltsUp = {K::Ch1VoltsUp, K::Ch2VoltsUp, K::MathVoltsUp, K::RefVoltsUp};
inline constexpr Row<4> kPosition = {K::Ch1Position, K::Ch2Position, K::MathPosition,
                                     K::RefPosition};
inline constexpr Row<3> kProbe = {K::Ch1Probe, K::Ch2Probe, K::MathProbe};
inline constexpr Row<3> kCoarseFine = {K::Ch1CoarseFine, K::Ch2CoarseFine, K::MathCoarseFine};
inline constexpr Row<3> kInvert = {K::Ch1Invert, K::Ch2Invert, K::MathInvert};
inline constexpr Row<2> kCoupling = {K::Ch1Coupling, K::Ch2Coupling};
inline constexpr Row<2> kBwLimit = {K::Ch1BwLimit, K::Ch2BwLimit};
inline constexpr Row<2> kBw100M = {K::Ch1Bw100M, K::Ch2Bw100M};
inline constexpr Row<4> kVoltsIndex = {K::Ch1VoltsIndex, K::Ch2VoltsIndex, K::MathVoltsIndex,
                                       K::RefVoltsIndex};
inline constexpr Row<2> kReset = {K::Ch1Reset, K::Ch2Reset};
// By LevelSource.
inline constexpr Row<3> kTriggerLevel = {K::Ch1TriggerLevel, K::Ch2TriggerLevel,
                                         K::ExtTriggerLevel};
// By TriggerRecord.
inline constexpr Row<3> kTimeBase = {K::TimeBase, K::AltTimeBaseFirst, K::AltTimeBaseSecond};
inline constexpr Row<3> kHfReject = {K::HfReject, K::AltHfRejectFirst, K::AltHfRejectSecond};
inline constexpr Row<3> kEdgeSlope = {K::EdgeSlope, K::AltEdgeSlopeFirst, K::AltEdgeSlopeSecond};
inline constexpr Row<3> kPulseCondition = {K::PulseCondition, K::AltConditionFirst,
                                           K::AltConditionSecond};
inline constexpr Row<3> kPulseWidth = {K::PulseWidth, K::AltPulseWidthFirst,
                                       K::AltPulseWidthSecond};
inline constexpr Row<3> kLevel50 = {K::Level50, K::AltLevel50First, K::AltLevel50Second};
// By AltChannel.
inline constexpr Row<2> kAltType = {K::AltTypeFirst, K::AltTypeSecond};
// By operand.
inline constexpr Row<2> kMathSource = {K::MathSourceA, K::MathSourceB};

// Where `kind` stands in `row`; none when it is not there.
template <std::size_t N>
constexpr std::optional<std::size_t> placeIn(const Row<N>& row, ScopeCommandKind kind) {
    for (std::size_t i = 0; i < N; ++i)
        if (row[i] == kind) return i;
    return std::nullopt;
}

}  // namespace scope_rows
}  // namespace oscilane
