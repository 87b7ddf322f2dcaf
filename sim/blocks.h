// The blocks the simulated instrument sends, built from its state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scope_state.h"

namespace zelvo::sim {

struct Identity {
    std::string name = "Zelvo";
    std::string serialNumber = "ZV20260001";
    // Build date as year (2000..2099), month and day.
    int year = 2026, month = 12, day = 8;
};

// 176 bytes, one character per 16-bit word, date as ASCII digit words.
std::vector<uint8_t> deviceInfoBlock(const Identity& id);

// 10148 bytes as the instrument sends them: 32-bit fields half-swapped.
// frame advances the phase of the live traces.
std::vector<uint8_t> settingBlock(const ScopeState& scope, uint32_t frame);

struct MeterState {
    uint8_t mode = 0;  // 0 voltage, 1 current, 2 resistance, 3 diode, 4 continuity, 5 capacitance
    uint8_t ac = 0;
    uint8_t manualRange = 0;
    uint8_t relative = 0;
    uint8_t milliamps = 0;
};
// 22 bytes: sign, four digits, decimal point code and the flag bytes.
std::vector<uint8_t> meterBlock(const MeterState& meter, uint32_t frame);

// 38400 bytes: the instrument's 320 x 240 display at 4 bits per pixel.
std::vector<uint8_t> screenBlock(const ScopeState& scope, uint32_t frame);

}  // namespace zelvo::sim
