// Guards shared by the exported functions: arguments that make a result
// meaningless, and results that must never leave as NaN or infinity.
#pragma once

#include <cmath>

namespace mensyl {

// "Cannot measure" for any result that came out non-finite.
inline double finiteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

inline bool usableInterval(double t) { return std::isfinite(t) && t > 0; }

// Millivolts of one code when `full` codes span 8 divisions of f millivolts;
// 0 when f or full cannot be used.
inline double millivoltsPerCode(double f, int full) {
    constexpr double kDivisions = 8.0;
    if (!std::isfinite(f) || full <= 0) return 0;
    return f * kDivisions / full;
}

// Millivolts of a level in codes, the code of 0 V being full - z.
inline double levelMillivolts(double code, int z, double f, int full) {
    return finiteOrZero((code - (static_cast<double>(full) - z)) * millivoltsPerCode(f, full));
}

inline constexpr int kFullScale = 255;  // where a function takes no `full`

}  // namespace mensyl
