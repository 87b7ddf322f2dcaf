// The simulated instrument's oscilloscope state, changed by set commands.
#pragma once

#include <array>
#include <cstdint>

namespace zelvo::sim {

struct ChannelState {
    int16_t shown = 1;
    int16_t voltsIndex = 9;  // 500 mV/div
    int16_t coupling = 1;    // 0 AC, 1 DC, 2 GND
    int16_t probe = 0;       // 1X
    int16_t invert = 0;
    int16_t bandwidth20M = 0;
    int16_t bandwidth100M = 0;
    int16_t position = 100;  // lever 0 (top) .. 199 (bottom)
    int16_t triggerLevel = 100;
    int16_t voltsStep = 0;  // coarse
};

struct TriggerState {
    uint16_t type = 0;    // 0 Edge, 1 Pulse
    uint16_t source = 0;  // 0 CH1, 1 CH2, 2 EXT
    uint16_t sweep = 0;   // 0 AUTO, 1 NORMAL, 2 SINGLE
    uint16_t slope = 0;   // 0 rising, 1 falling
    uint16_t pulseCondition = 0;
    uint16_t hfReject = 0;
    uint32_t pulseWidth = 20;  // units of 5 ns
};

struct ScopeState {
    std::array<ChannelState, 4> channels{};  // CH1, CH2, MATH, REF
    TriggerState mainTrigger{};
    std::array<TriggerState, 2> altTriggers{};
    int16_t timeBase = 19;  // 1 ms/div
    std::array<int16_t, 2> altTimeBase{19, 19};
    bool running = true;
    int16_t triggerMode = 0;    // 0 Edge, 1 Pulse, 2 ALT
    int16_t displayFormat = 0;  // 0 Y-T, 1 X-Y, 2 Roll
    int16_t horizontalTriggerPosition = 150;
    uint16_t mathOperator = 0;  // 0 A+B, 1 A-B, 2 AxB, 3 A/B, 4 FFT
    std::array<uint16_t, 2> mathSources{0, 1};
    uint16_t fftWindow = 0, fftSource = 0, fftScale = 0, fftDbPerDivision = 3;

    // The defaults a factory setup restores: CH1 above the centre line and
    // CH2 below it, so both traces stand apart; MATH and REF off.
    ScopeState() {
        channels[0].position = 60;
        channels[1].position = 140;
        channels[0].triggerLevel = 60;
        channels[1].triggerLevel = 140;
        channels[2].shown = 0;
        channels[3].shown = 0;
    }
};

}  // namespace zelvo::sim
