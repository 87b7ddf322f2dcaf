// The simulated instrument's oscilloscope state, changed by set commands.
#pragma once

#include <array>
#include <cstdint>

namespace zelvo::sim {

struct ChannelState {
    int16_t shown = 1;
    int16_t voltsIndex = 9;  // 500 mV/div
    int16_t coupling = 1;    // DC
    int16_t probe = 0;       // 1X
    int16_t invert = 0;
    int16_t bandwidth20M = 0;
    int16_t bandwidth100M = 0;
    int16_t position = 100;  // lever 0..199, 100 the centre
    int16_t triggerLevel = 100;
    int16_t voltsStep = 0;  // coarse
};

struct TriggerState {
    uint16_t type = 0;  // Edge
    uint16_t source = 0;
    uint16_t sweep = 0;  // AUTO
    uint16_t slope = 0;
    uint16_t pulseCondition = 0;
    uint16_t hfReject = 0;
    uint32_t pulseWidth = 20;  // 100 ns
};

struct ScopeState {
    std::array<ChannelState, 4> channels{};  // CH1, CH2, MATH, REF
    TriggerState mainTrigger{};
    std::array<TriggerState, 2> altTriggers{};
    int16_t timeBase = 19;  // index into the time-base table
    std::array<int16_t, 2> altTimeBase{19, 19};
    int16_t running = 1;
    int16_t triggerMode = 0;
    int16_t displayFormat = 0;
    int16_t horizontalTriggerPosition = 150;
    uint16_t mathOperator = 0;
    std::array<uint16_t, 2> mathSources{0, 1};
    uint16_t fftWindow = 0, fftSource = 0, fftScale = 0;

    ScopeState() {
        // CH1 above the centre line, CH2 below it, so both traces stand apart.
        channels[0].position = 60;
        channels[1].position = 140;
        channels[2].shown = 0;
        channels[3].shown = 0;
    }
};

}  // namespace zelvo::sim
