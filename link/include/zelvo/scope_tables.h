// Constant tables of the instrument's oscilloscope settings.
#pragma once

#include <array>

namespace zelvo::tables {

// Millivolts per division by volts index 0..13.
inline constexpr std::array<float, 14> kMillivoltsPerDivision = {
    0.5f, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};

// Probe factor by probe index.
inline constexpr std::array<int, 4> kProbeFactor = {1, 10, 100, 1000};

}  // namespace zelvo::tables

namespace zelvo::tables {

inline constexpr int kTimeBaseCount = 38;

// Seconds per division of time-base index 0..37: 0.5 ns, then 1-2-5 steps from 1 ns to 1000 s.
constexpr double timeBaseSeconds(int index) {
    if (index <= 0) return 0.5e-9;
    constexpr double mantissa[3] = {1, 2, 5};
    double seconds = mantissa[(index - 1) % 3] * 1e-9;
    for (int decade = (index - 1) / 3; decade > 0; --decade) seconds *= 10;
    return seconds;
}

// Screen geometry of a trace: 1200 samples across 12 divisions, 8 divisions of
// 255/8 codes each from the bottom to the top of the grid.
inline constexpr int kSamplesPerDivision = 100;
inline constexpr double kCodesPerDivision = 255.0 / 8.0;
// Lever positions run 0 (top) to 199; level L is sample code 255 - L * 255/199.
inline constexpr int kLeverMax = 199;
// Horizontal trigger position 0..300, 150 the centre; one step is 4 samples.
inline constexpr int kHorizontalPositionMax = 300;

}  // namespace zelvo::tables
