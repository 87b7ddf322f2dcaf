// A stand-in for the measurement library that counts its calls, remembers
// the sample interval it was handed and returns values the test chooses.
#pragma once

#include <array>

#include "model/measure_library.h"

namespace measuretest {

struct FakeState {
    int calls = 0;
    int preMeasCalls = 0;
    double lastInterval = -1;
    std::array<double, 2> lastDelayIntervals{-1, -1};
    double millivolts = 1000;  // every voltage
    double fraction = 0.25;    // overshoot, preshoot, duty cycles
    double seconds = 1e-3;     // period, widths, rise and fall, delays
    double hertz = 1000;
    bool crossings = true;  // period records hold rising and falling crossings
};

FakeState& fake();
// A fresh state and the table of fakes.
const oscilane::MeasureLibrary& fakeLibrary();

}  // namespace measuretest
