// One frame's measurement pass through the measurement library (levels and
// period of CH1, CH2 and MATH, then eight results) against a pass that only
// sums the same 3 x 1200 samples.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "mensyl/Mensyl.h"
#include "ratio_reporter.h"

namespace {

constexpr int kSamples = 1200;
constexpr double kInterval = 1e-6;  // 100 us per division

struct Channel {
    std::vector<short> samples;
    std::array<unsigned char, MENSYL_LEVEL_RECORD_SIZE> H{}, L{};
    std::array<unsigned char, MENSYL_PERIOD_RECORD_SIZE> P{};
};

// CH1 a square wave with 4-sample edges, CH2 a sine lagging it, MATH their
// difference; all with about a code of noise.
std::array<Channel, 3> frame() {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 1);
    std::array<Channel, 3> channels;
    for (int i = 0; i < kSamples; ++i) {
        const double phase = std::fmod(i / 97.3, 1.0);
        const double square =
            std::clamp(std::min(phase * 97.3 / 4, (0.5 - phase) * 97.3 / 4 + 0.5), 0.0, 1.0);
        const double sine = std::sin(2 * std::numbers::pi * (i - 9.1) / 97.3);
        const double values[3] = {40 + 170 * square, 128 + 90 * sine,
                                  128 + 60 * (square - 0.5) - 45 * sine};
        for (int c = 0; c < 3; ++c)
            channels[c].samples.push_back(
                static_cast<short>(std::clamp(std::lround(values[c] + noise(random)), 0L, 255L)));
    }
    return channels;
}

void BM_MeasureFrame(benchmark::State& state) {
    std::array<Channel, 3> channels = frame();
    const double f = 200, full = 255;
    const int z = 100;
    for (auto _ : state) {
        for (Channel& c : channels) {
            PreMeas(c.H.data(), c.L.data(), c.samples.data(), kSamples);
            FindPeriod(c.P.data(), c.H.data(), c.L.data(), c.samples.data(), kSamples);
        }
        const Channel &one = channels[0], &two = channels[1], &math = channels[2];
        benchmark::DoNotOptimize(CalVpp(one.H.data(), one.L.data(), f, full));
        benchmark::DoNotOptimize(CalFrequency(one.P.data(), kInterval));
        benchmark::DoNotOptimize(CalRiseTime(one.H.data(), one.L.data(), one.samples.data(),
                                             kSamples, kInterval, 0.9f, 0.1f));
        benchmark::DoNotOptimize(CalRMS(one.samples.data(), kSamples, z, f, full));
        benchmark::DoNotOptimize(CalPDutyCycle(two.P.data()));
        benchmark::DoNotOptimize(CalFallTime(two.H.data(), two.L.data(), two.samples.data(),
                                             kSamples, kInterval, 0.9f, 0.1f));
        benchmark::DoNotOptimize(CalMean(math.samples.data(), kSamples, z, f, full));
        benchmark::DoNotOptimize(CalNDelay12(one.H.data(), one.L.data(), two.H.data(), two.L.data(),
                                             one.samples.data(), kSamples, two.samples.data(),
                                             kSamples, kInterval, kInterval));
    }
}

void BM_SumFrame(benchmark::State& state) {
    const std::array<Channel, 3> channels = frame();
    for (auto _ : state) {
        long sum = 0;
        for (const Channel& c : channels)
            for (const short s : c.samples) sum += s;
        benchmark::DoNotOptimize(sum);
    }
}

BENCHMARK(BM_MeasureFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SumFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return zelvo::bench::runWithRatios(argc, argv, {{"BM_MeasureFrame", "BM_SumFrame"}});
}
