#include "fft.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <utility>

namespace zelvo::sim {
namespace {

double windowWeight(int window, std::size_t i, std::size_t n) {
    const double x = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n - 1);
    switch (window) {
        case 1:
            return 0.5 - 0.5 * std::cos(x);
        case 2:
            return 0.54 - 0.46 * std::cos(x);
        case 3:
            return 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2 * x);
        default:
            return 1.0;
    }
}

void transform(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step =
            std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                const auto u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

}  // namespace

std::vector<double> rmsSpectrum(std::vector<double> samples, int window) {
    const std::size_t n = samples.size();
    std::vector<std::complex<double>> a(n);
    double gain = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double w = windowWeight(window, i, n);
        gain += w;
        a[i] = samples[i] * w;
    }
    transform(a);
    std::vector<double> rms(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k) {
        // A sine of amplitude A gives |X[k]| = A * gain / 2; its RMS is A / sqrt(2).
        const double amplitude = (k == 0 ? 1.0 : 2.0) * std::abs(a[k]) / gain;
        rms[k] = k == 0 ? amplitude : amplitude / std::numbers::sqrt2;
    }
    return rms;
}

}  // namespace zelvo::sim
