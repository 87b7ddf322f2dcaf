// One upload of the scope state as Python sees it: the four traces of the
// setting block with their volts and times as NumPy arrays, their
// measurements and their files.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <array>
#include <memory>
#include <optional>

#include "model/setting_block.h"

namespace zelvo::python {

using SharedBlock = std::shared_ptr<const oscilane::SettingBlock>;

// One trace of an uploaded block.  Its arrays are made once, when the
// capture is made; every reader gets the same arrays.
struct Trace {
    Trace(SharedBlock block, int channel);

    SharedBlock block;
    int channel;
    bool on;
    std::optional<double> interval;     // seconds between samples
    std::optional<double> voltsPerDiv;  // at the probe tip
    int probe;                          // 1, 10, 100 or 1000
    pybind11::array_t<double> volts;    // nan where the instrument blanked a sample
    pybind11::array_t<double> times;    // seconds from the first sample
};

struct Capture {
    explicit Capture(SharedBlock block);

    SharedBlock block;
    std::array<std::shared_ptr<Trace>, 4> traces;  // CH1, CH2, MATH, REF
};

// Adds Capture and Waveform to the module.
void addCapture(pybind11::module_& module);

}  // namespace zelvo::python
