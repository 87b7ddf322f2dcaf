#include "scope/scope_setup_commands.h"

#include "scope/scope_commands.h"

namespace oscilane {

QueuedCommand setupCommand(const SetupChange& change) {
    namespace sc = scope_command;
    const int i = change.setting().index;
    const auto v = static_cast<int>(change.value);
    const bool on = change.value != 0;
    const ScopeChannel channel = scopeChannel(i);
    const auto record = static_cast<TriggerRecord>(i);
    switch (change.setting().kind) {
        case SetupKind::Shown:
            return sc::shown(channel, on);
        case SetupKind::VoltsIndex:
            return sc::voltsIndex(channel, v);
        case SetupKind::Coupling:
            return sc::coupling(channel, v);
        case SetupKind::Probe:
            return sc::probe(channel, v);
        case SetupKind::Position:
            return sc::position(channel, v);
        case SetupKind::Invert:
            return sc::invert(channel, on);
        case SetupKind::BwLimit20M:
            return sc::bwLimit(channel, on);
        case SetupKind::Bw100M:
            return sc::bw100M(channel, on);
        case SetupKind::VoltsStep:
            return sc::coarseFine(channel, on);
        case SetupKind::TriggerLevel:
            return sc::triggerLevel(static_cast<LevelSource>(i), v);
        case SetupKind::AltTimeBase:
            return sc::timeBase(altRecord(altChannel(i)), v);
        case SetupKind::TimeBase:
            return sc::timeBase(TriggerRecord::Main, v);
        case SetupKind::HorizontalTrigger:
            return sc::horizontalTrigger(v);
        case SetupKind::TriggerMode:
            return sc::triggerMode(static_cast<TriggerMode>(v));
        case SetupKind::TriggerSource:
            return sc::triggerSource(v);
        case SetupKind::Sweep:
            return sc::triggerSweep(v);
        case SetupKind::EdgeSlope:
            return sc::edgeSlope(record, v);
        case SetupKind::PulseCondition:
            return sc::pulseCondition(record, v);
        case SetupKind::PulseWidth:
            return sc::pulseWidth(record, static_cast<uint32_t>(change.value));
        case SetupKind::HfReject:
            return sc::hfReject(record, on);
        case SetupKind::AltType:
            return sc::altType(altChannel(i), static_cast<TriggerMode>(v));
        case SetupKind::MathOperator:
            return sc::mathOperator(v);
        case SetupKind::MathSource:
            return sc::mathSource(i, v);
        case SetupKind::FftSource:
            return sc::fftSource(v);
        case SetupKind::FftWindow:
            return sc::fftWindow(v);
        case SetupKind::FftScale:
            return sc::fftScale(v);
        case SetupKind::Format:
            return sc::format(static_cast<DisplayFormat>(v));
        case SetupKind::Running:
            return sc::run(on);
    }
    return {};
}

}  // namespace oscilane
