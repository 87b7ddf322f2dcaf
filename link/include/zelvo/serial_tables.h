// Constant tables of the instrument's serial line.
#pragma once

#include <array>

namespace zelvo::tables {

// Baud rates by the baud-rate index callers pass (0..5).
inline constexpr std::array<unsigned, 6> kBaudRates = {300, 600, 1200, 2400, 4800, 9600};

}  // namespace zelvo::tables
