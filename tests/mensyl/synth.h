// Synthetic 8-bit traces with known answers: a continuous wave, optional
// Gaussian noise, rounded to codes 0..255 like the instrument's converter.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include "mensyl/Mensyl.h"

namespace mensyl::test {

enum class Shape { pulse, sine, triangle };

struct Wave {
    Shape shape = Shape::pulse;
    double period = 100;  // samples
    double low = 50;      // codes: base (pulse) or minimum (sine, triangle)
    double high = 200;    // codes: top or maximum
    double duty = 0.5;    // pulse: share of a period from the rising to the falling 50 % point
    double edge = 0;      // pulse: 0-100 % length of each linear edge, samples
    double shift = 0;     // samples: a rising 50 % point (pulse), an upward mid crossing else
    double noise = 0;     // standard deviation, codes
};

// Fraction 0..1 of the way from low to high at position x.
inline double waveShape(const Wave& w, double x) {
    const double u = x - w.shift;
    if (w.shape == Shape::sine) return 0.5 + 0.5 * std::sin(2 * std::numbers::pi * u / w.period);
    if (w.shape == Shape::triangle) {
        // Rises through the middle at u = 0.
        double phase = std::fmod(u / w.period + 0.25, 1.0);
        if (phase < 0) phase += 1;
        return phase < 0.5 ? 2 * phase : 2 - 2 * phase;
    }
    // Place u in the period that starts in the middle of the low part before
    // the rising point, so both edges lie whole inside it.
    const double highPart = w.duty * w.period;
    const double lowPart = w.period - highPart;
    double v = std::fmod(u + lowPart / 2, w.period);
    if (v < 0) v += w.period;
    v -= lowPart / 2;
    if (w.edge <= 0) return v >= 0 && v < highPart ? 1 : 0;
    const double rise = v / w.edge + 0.5, fall = (highPart - v) / w.edge + 0.5;
    return std::clamp(std::min(rise, fall), 0.0, 1.0);
}

inline std::vector<short> synthesize(const Wave& w, int n, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, w.noise > 0 ? w.noise : 1);
    std::vector<short> codes(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double v = w.low + (w.high - w.low) * waveShape(w, i);
        if (w.noise > 0) v += noise(random);
        codes[static_cast<std::size_t>(i)] =
            static_cast<short>(std::clamp(std::lround(v), 0L, 255L));
    }
    return codes;
}

// The records of one trace, each in a buffer of exactly its size so that a
// write past it shows under AddressSanitizer.
struct Measured {
    std::vector<unsigned char> H = std::vector<unsigned char>(10);
    std::vector<unsigned char> L = std::vector<unsigned char>(10);
    std::vector<unsigned char> P = std::vector<unsigned char>(12);
    std::vector<short> data;

    explicit Measured(std::vector<short> samples) : data(std::move(samples)) {
        PreMeas(H.data(), L.data(), data.data(), n());
        FindPeriod(P.data(), H.data(), L.data(), data.data(), n());
    }
    int n() const { return static_cast<int>(data.size()); }
};

// With f = 255/8 mV per division one code is 1 mV, and with z = 255 the code
// of 0 V is 0: every voltage reads directly in codes.
inline constexpr double kOneMillivoltPerCode = 255.0 / 8.0;
inline constexpr int kZeroAtCode0 = 255;
inline constexpr double kInterval = 1e-6;  // seconds per sample

}  // namespace mensyl::test
