// The setup recall scenario the client and the window tests share: a state
// worth saving, ten settings changed after it, and the count of set commands
// a simulated instrument has received.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulated_instrument.h"
#include "zelvo/command_codes.h"

namespace zelvo::testing::setup {

struct Set {
    Command command;
    uint32_t selector;
    uint32_t value;
};

inline void apply(sim::SimulatedInstrument& instrument, const std::vector<Set>& sets) {
    instrument.inspect([&sets](sim::Instrument& i, sim::Responder&) {
        for (const Set& s : sets) i.applySet(code(s.command), s.selector << 16 | s.value);
        return 0;
    });
}

// The set commands the instrument has received, but for link checks.
inline std::size_t settingCommands(sim::SimulatedInstrument& instrument) {
    return instrument.inspect([](sim::Instrument&, sim::Responder& r) {
        std::size_t n = 0;
        for (const DecodedRequest& q : r.requests())
            if (q.opcode == Opcode::Set && q.first != code(Command::LinkCheck)) ++n;
        return n;
    });
}

// A setup worth saving: the instrument in ALT trigger mode, with channel
// settings moved from their defaults.
inline const std::vector<Set> kSavedState = {
    {Command::Probe, 0, 1},
    {Command::Coupling, 1, 0},
    {Command::ChannelPosition, 3, 30},
    {Command::ChannelEnable, 2, 1},
    {Command::VoltsPerDivision, 2, 5},
    {Command::TriggerMode, 0, 2},
    {Command::TimeBase, 0, 25},
    {Command::TriggerHfReject, 0, 1},
};
// Ten settings changed after saving; the common time base is set in Edge mode.
inline const std::vector<Set> kChanges = {
    {Command::TriggerMode, 0, 0},
    {Command::TimeBase, 0, 10},
    {Command::Probe, 0, 3},
    {Command::ChannelPosition, 3, 150},
    {Command::VoltsPerDivision, 2, 11},
    {Command::DisplayFormat, 0, 1},
    {Command::RunStatus, 0, 1},
    {Command::TriggerHfReject, 1, 1},
    {Command::FftWindow, 0, 2},
    {Command::PulseTriggerCondition, 255, 4},
};
inline constexpr std::size_t kDifferingSettings = 10;

// Whether the instrument holds what kSavedState made of a fresh one.
inline bool holdsSavedState(sim::SimulatedInstrument& instrument) {
    return instrument.inspect([](sim::Instrument& i, sim::Responder&) {
        const sim::ScopeState& s = i.scope();
        return s.channels[0].probe == 1 && s.channels[3].position == 30 &&
               s.channels[2].voltsIndex == 5 && s.triggerMode == sim::TriggerMode::Alt &&
               s.timeBase == 19 && s.altTimeBase[0] == 25 && s.running &&
               s.displayFormat == sim::DisplayFormat::YT && s.altTriggers[1].hfReject == 0 &&
               s.mainTrigger.pulseCondition == 0 && s.fftWindow == 0;
    });
}

}  // namespace zelvo::testing::setup
