// The simulated instrument's oscilloscope state, changed by set commands.
#pragma once

#include <array>
#include <cstdint>

namespace zelvo::sim {

// The kinds a setting takes, numbered as the set commands and the setting
// block carry them; each type is the width the block stores.
enum class Coupling : int16_t { Ac = 0, Dc = 1, Gnd = 2 };
enum class TriggerType : uint16_t { Edge = 0, Pulse = 1 };
enum class TriggerSource : uint16_t { Ch1 = 0, Ch2 = 1, Ext = 2 };
enum class Sweep : uint16_t { Auto = 0, Normal = 1, Single = 2 };
enum class Slope : uint16_t { Rising = 0, Falling = 1 };
enum class TriggerMode : int16_t { Edge = 0, Pulse = 1, Alt = 2 };
enum class DisplayFormat : int16_t { YT = 0, XY = 1, Roll = 2 };
enum class MathOperator : uint16_t { Add = 0, Subtract = 1, Multiply = 2, Divide = 3, Fft = 4 };

struct ChannelState {
    int16_t shown = 1;
    int16_t voltsIndex = 9;  // 500 mV/div
    Coupling coupling = Coupling::Dc;
    int16_t probe = 0;  // 1X
    int16_t invert = 0;
    int16_t bandwidth20M = 0;
    int16_t bandwidth100M = 0;
    int16_t position = 100;  // lever 0 (top) .. 199 (bottom)
    int16_t triggerLevel = 100;
    int16_t voltsStep = 0;  // coarse
};

struct TriggerState {
    TriggerType type = TriggerType::Edge;
    TriggerSource source = TriggerSource::Ch1;
    Sweep sweep = Sweep::Auto;
    Slope slope = Slope::Rising;
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
    TriggerMode triggerMode = TriggerMode::Edge;
    DisplayFormat displayFormat = DisplayFormat::YT;
    int16_t horizontalTriggerPosition = 150;
    MathOperator mathOperator = MathOperator::Add;
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
