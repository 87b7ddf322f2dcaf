// The device information and screen blocks the simulated instrument sends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvo::sim {

struct Identity {
    std::string name = "Zelvo";
    std::string serialNumber = "ZV20260001";
    // Build date as year (2000..2099), month and day.
    int year = 2026, month = 12, day = 8;
};

// 176 bytes, one character per 16-bit word, date as ASCII digit words.
std::vector<uint8_t> deviceInfoBlock(const Identity& id);

// 38400 bytes: the instrument's 320 x 240 display at 4 bits per pixel, drawn
// from a setting block as the library receives it (32-bit fields put right).
std::vector<uint8_t> screenBlock(const std::vector<uint8_t>& settingBlock);

}  // namespace zelvo::sim
