#include "scope/scope_commands.h"

namespace oscilane::scope_command {
namespace {

using K = ScopeCommandKind;
namespace rows = scope_rows;

QueuedCommand command(K kind, uint32_t argument = 0) {
    return {static_cast<uint16_t>(kind), argument};
}
uint32_t number(int value) { return static_cast<uint32_t>(value); }
uint32_t flag(bool on) { return on ? 1 : 0; }

// The kind of `row` at `place`; nothing (an empty command) where the row has
// no such channel or record.
template <std::size_t N, class Place>
QueuedCommand at(const rows::Row<N>& row, Place place, uint32_t argument = 0) {
    const auto i = static_cast<std::size_t>(place);
    if (i >= N) return {};
    return command(row[i], argument);
}

}  // namespace

QueuedCommand runStop() { return command(K::RunStop); }
QueuedCommand run(bool on) { return command(K::Run, flag(on)); }
QueuedCommand autoSetup() { return command(K::AutoSetup); }
QueuedCommand defaultSetup() { return command(K::DefaultSetup); }
QueuedCommand timeBase(TriggerRecord record, int timeBaseIndex) {
    return at(rows::kTimeBase, record, number(timeBaseIndex));
}
QueuedCommand fftSource(int listPosition) { return command(K::FftSource, number(listPosition)); }
QueuedCommand fftWindow(int listPosition) { return command(K::FftWindow, number(listPosition)); }
QueuedCommand fftScale(int listPosition) { return command(K::FftScale, number(listPosition)); }
QueuedCommand mathOperator(int operatorIndex) {
    return command(K::MathOperator, number(operatorIndex));
}
QueuedCommand mathSource(int operand, int sourceIndex) {
    return at(rows::kMathSource, operand, number(sourceIndex));
}
QueuedCommand horizontalTrigger(int position) {
    return command(K::HorizontalTrigger, number(position));
}
QueuedCommand triggerMode(TriggerMode mode) {
    return command(K::TriggerMode, static_cast<uint32_t>(mode));
}
QueuedCommand triggerSource(int listPosition) {
    return command(K::TriggerSource, number(listPosition));
}
QueuedCommand triggerSweep(int listPosition) {
    return command(K::TriggerSweep, number(listPosition));
}
QueuedCommand format(DisplayFormat format) {
    return command(K::Format, static_cast<uint32_t>(format));
}
QueuedCommand hfReject(TriggerRecord record, bool on) {
    return at(rows::kHfReject, record, flag(on));
}
QueuedCommand edgeSlope(TriggerRecord record, int listPosition) {
    return at(rows::kEdgeSlope, record, number(listPosition));
}
QueuedCommand pulseCondition(TriggerRecord record, int condition) {
    return at(rows::kPulseCondition, record, number(condition));
}
QueuedCommand pulseWidth(TriggerRecord record, uint32_t units5ns) {
    return at(rows::kPulseWidth, record, units5ns);
}
QueuedCommand level50(TriggerRecord record) { return at(rows::kLevel50, record); }
QueuedCommand altType(AltChannel alt, TriggerMode type) {
    return at(rows::kAltType, alt, static_cast<uint32_t>(type));
}
QueuedCommand shown(ScopeChannel channel, bool on) { return at(rows::kShown, channel, flag(on)); }
QueuedCommand voltsStep(ScopeChannel channel, bool up) {
    return at(up ? rows::kVoltsUp : rows::kVoltsDown, channel);
}
QueuedCommand voltsIndex(ScopeChannel channel, int voltsIndex) {
    return at(rows::kVoltsIndex, channel, number(voltsIndex));
}
QueuedCommand coupling(ScopeChannel channel, int couplingIndex) {
    return at(rows::kCoupling, channel, number(couplingIndex));
}
QueuedCommand probe(ScopeChannel channel, int probeIndex) {
    return at(rows::kProbe, channel, number(probeIndex));
}
QueuedCommand coarseFine(ScopeChannel channel, bool fine) {
    return at(rows::kCoarseFine, channel, flag(fine));
}
QueuedCommand invert(ScopeChannel channel, bool on) { return at(rows::kInvert, channel, flag(on)); }
QueuedCommand bwLimit(ScopeChannel channel, bool on) {
    return at(rows::kBwLimit, channel, flag(on));
}
QueuedCommand bw100M(ScopeChannel channel, bool on) { return at(rows::kBw100M, channel, flag(on)); }
QueuedCommand reset(ScopeChannel channel) { return at(rows::kReset, channel); }
QueuedCommand position(ScopeChannel channel, int lever) {
    return at(rows::kPosition, channel, number(lever));
}
QueuedCommand triggerLevel(LevelSource source, int lever) {
    return at(rows::kTriggerLevel, source, number(lever));
}
QueuedCommand writeTdc(uint32_t shownValue) { return command(K::WriteTdc, shownValue); }
QueuedCommand writeWaveCalibration() { return command(K::WriteWaveCalibration); }
// The argument has always been 1; the instrument's own flag decides the new state.
QueuedCommand etsToggle() { return command(K::EtsToggle, 1); }

}  // namespace oscilane::scope_command
