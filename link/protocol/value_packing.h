// How the exports pack their arguments into the 32-bit value of a set request.
#pragma once

#include <array>
#include <cstdint>

namespace zelvo {

// Selector's low byte in bits 16-23, value's low byte in bits 0-7.
constexpr uint32_t packSelectorByte(int32_t selector, int32_t value) {
    return ((static_cast<uint32_t>(selector) & 0xFFu) << 16) |
           (static_cast<uint32_t>(value) & 0xFFu);
}
// Selector's low byte in bits 16-23, a 16-bit value in bits 0-15.
constexpr uint32_t packSelectorWord(int32_t selector, uint16_t value) {
    return ((static_cast<uint32_t>(selector) & 0xFFu) << 16) | value;
}
// Bit 0 of the selector in bit 31, the time's low 31 bits below it.
constexpr uint32_t packPulseTime(int32_t selector, uint32_t time) {
    return ((static_cast<uint32_t>(selector) & 1u) << 31) | (time & 0x7FFFFFFFu);
}
// (high << 16) + low, neither part masked: a low part above 16 bits overlaps the high part.
constexpr uint32_t packTdc(uint32_t high, uint32_t low) { return (high << 16) + low; }
// cal[0] + cal[1]*256 + cal[2]*65536 + cal[3]*16777216, modulo 2^32.
constexpr uint32_t packCalibration(const std::array<int32_t, 4>& cal) {
    uint32_t word = 0;
    for (int k = 0; k < 4; ++k) word += static_cast<uint32_t>(cal[k]) << (8 * k);
    return word;
}
constexpr std::array<int32_t, 4> unpackCalibration(uint32_t word) {
    return {static_cast<int32_t>(word & 0xFF), static_cast<int32_t>((word >> 8) & 0xFF),
            static_cast<int32_t>((word >> 16) & 0xFF), static_cast<int32_t>(word >> 24)};
}

}  // namespace zelvo
