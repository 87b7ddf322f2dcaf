// What the simulated instrument's oscilloscope captures, and the setting
// block that carries it.  A running instrument takes a new, triggered
// acquisition for every block it sends; a stopped one sends the same traces.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "input_signals.h"
#include "scope_state.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::sim {

class ScopeAcquisition {
  public:
    // Takes a new acquisition when the scope runs and its trigger fires; a
    // single sweep stops the scope once it has fired.
    void acquire(ScopeState& scope, const InputSignals& signals);
    // REF becomes a stored copy of the given channel's last trace.
    void storeReference(ScopeState& scope, int channel);
    // Whether any acquisition has been taken since power-on.
    bool acquired() const { return frame_ != 0; }
    // The 10148-byte block as the instrument sends it: 32-bit fields half-swapped.
    std::vector<uint8_t> settingBlock(const ScopeState& scope) const;
    // The last sample codes of a trace (0 CH1 .. 3 REF).
    const std::array<int16_t, layout::kSamplesPerTrace>& codes(int channel) const {
        return traces_[channel].codes;
    }
    // Forgets what a Roll display has filled, so it starts again from the left.
    void restartRoll() { rollFilled_ = 0; }

  private:
    struct Trace {
        std::array<int16_t, layout::kSamplesPerTrace> codes{};
        std::array<double, layout::kSamplesPerTrace> volts{};  // displayed volts, before quantising
        ChannelState captured{};  // settings in force when the trace was taken
        int16_t blankMode = 0, blankStart = 0, blankEnd = 0;
    };

    bool captureInput(const ScopeState& scope, const InputSignals& signals, int channel);
    void computeMath(const ScopeState& scope);

    std::array<Trace, 4> traces_{};
    uint32_t frame_ = 0;
    double freeRunTime_ = 0;  // start time of an untriggered (AUTO) or rolling acquisition
    std::size_t rollFilled_ = 0;
};

}  // namespace zelvo::sim
