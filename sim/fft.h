// Magnitude spectrum for the simulated instrument's FFT math trace.
#pragma once

#include <vector>

namespace zelvo::sim {

// RMS magnitude of each of the n/2 frequency bins of the n samples (n a power
// of two), after the window: 0 rectangle, 1 Hanning, 2 Hamming, 3 Blackman.
std::vector<double> rmsSpectrum(std::vector<double> samples, int window);

}  // namespace zelvo::sim
