// One frame's automatic measurements as the scope window runs them after a
// copied block: eight active slots over CH1, CH2 and MATH, PreMeas and
// FindPeriod per channel, then the eight results with their texts
// (MeasureSet::compute).  Beside it, one pass that only sums the same
// 3 x 1200 samples read from the block, and the ratio of the two.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "model/measure_set.h"
#include "model/scope_settings.h"
#include "ratio_reporter.h"
#include "zelvo/setting_block_layout.h"

namespace {

namespace L = zelvo::layout;
using namespace oscilane;

void put16(SettingBlock& b, std::size_t at, int value) {
    b[at] = static_cast<uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// CH1 a sine, CH2 a square, MATH their difference; 1 ms/div, about 4.3
// cycles per record with a little deterministic noise.
SettingBlock frame() {
    SettingBlock b{};
    put16(b, L::kTimeBase, 19);
    for (int c : {kCh1, kCh2, kMath}) {
        put16(b, L::firstChannelRecord(c) + L::channel::kShown, 1);
        put16(b, L::firstChannelRecord(c) + L::channel::kPosition, 100);
        const std::size_t volts = L::firstChannelRecord(c) + L::channel::kVoltsValue;
        put16(b, volts, 100000 & 0xFFFF);
        put16(b, volts + 2, 100000 >> 16);
    }
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i) {
        const double phase = 2 * M_PI * static_cast<double>(i) / 278.3;
        const int noise = static_cast<int>((i * 7919) % 5) - 2;
        const int sine = static_cast<int>(128 + 100 * std::sin(phase)) + noise;
        const int square = (std::fmod(static_cast<double>(i) + 40, 278.3) < 139 ? 200 : 60) + noise;
        put16(b, L::traceSamples(kCh1) + 2 * i, sine);
        put16(b, L::traceSamples(kCh2) + 2 * i, square);
        put16(b, L::traceSamples(kMath) + 2 * i, std::clamp(128 + (sine - square) / 2, 0, 255));
    }
    return b;
}

void BM_MeasureFrame(benchmark::State& state) {
    const SettingBlock block = frame();
    MeasureSet set;
    const MeasureKind kinds[] = {
        MeasureKind::Vpp,  MeasureKind::Frequency, MeasureKind::RiseTime, MeasureKind::PosDuty,
        MeasureKind::Vrms, MeasureKind::PosDelay,  MeasureKind::Period,   MeasureKind::OverShoot};
    int k = 0;
    for (MeasureKind kind : kinds) {
        set.setCurrentChannel(k++ % 3);
        set.add(kind);
    }
    for (auto _ : state) {
        set.compute(block);
        benchmark::DoNotOptimize(set.text(7).data());
    }
}

void BM_SumFrame(benchmark::State& state) {
    const SettingBlock block = frame();
    for (auto _ : state) {
        const ScopeSettings s(block);
        long sum = 0;
        for (int c : {kCh1, kCh2, kMath})
            for (int i = 0; i < static_cast<int>(L::kSamplesPerTrace); ++i) sum += s.sample(c, i);
        benchmark::DoNotOptimize(sum);
    }
}

}  // namespace

BENCHMARK(BM_MeasureFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SumFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return zelvo::bench::runWithRatios(argc, argv, {{"BM_MeasureFrame", "BM_SumFrame"}});
}
