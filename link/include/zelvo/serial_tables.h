// Constant tables of the instrument's serial line.
#pragma once

#include <array>
#include <cstdint>

namespace zelvo::tables {

// Baud rates by the baud-rate index callers pass (0..5).
inline constexpr std::array<unsigned, 6> kBaudRates = {300, 600, 1200, 2400, 4800, 9600};
// The index a line opens at unless told otherwise: 9600 baud.
inline constexpr uint16_t kDefaultBaudIndex = 5;
// Start bit, 8 data bits, odd parity bit, stop bit.
inline constexpr unsigned kBitsPerCharacter = 11;

}  // namespace zelvo::tables
