#include "generator/arb_edit.h"

#include <algorithm>
#include <cmath>

namespace oscilane::arb {
namespace {

constexpr uint16_t kMinimumZoomSpan = 100;

int lastIndex(const GeneratorWave& wave) {
    const int count = std::min<int>(wave.sampleCount, static_cast<int>(kGeneratorBufferSize));
    return std::max(count - 1, 0);
}

int keptIndex(const GeneratorWave& wave, long long index) {
    return static_cast<int>(std::clamp<long long>(index, 0, lastIndex(wave)));
}

// The span and start as NormaliseView leaves them, without changing the wave.
int usableSpan(const GeneratorWave& wave) {
    return std::clamp<int>(wave.viewSpan, 1, std::max<int>(wave.sampleCount, 1));
}

double usableStart(const GeneratorWave& wave) {
    return std::isfinite(wave.viewStart) ? std::clamp<double>(wave.viewStart, 0.0, 1.0) : 0.0;
}

int plotWidth(PlotSpan plot) { return std::max(plot.right - plot.left, 1); }

}  // namespace

void NormaliseView(GeneratorWave& wave) {
    wave.viewSpan = static_cast<uint16_t>(usableSpan(wave));
    wave.viewStart = static_cast<float>(usableStart(wave));
}

int FirstShown(const GeneratorWave& wave) {
    const int hidden = std::max<int>(wave.sampleCount, 1) - usableSpan(wave);
    return keptIndex(wave, static_cast<long long>(hidden * usableStart(wave)));
}

int IndexAtX(const GeneratorWave& wave, PlotSpan plot, int x) {
    const double hidden = std::max<int>(wave.sampleCount, 1) - usableSpan(wave);
    const double at = static_cast<double>(x - plot.left) / plotWidth(plot) * usableSpan(wave) +
                      hidden * usableStart(wave);
    return keptIndex(wave, static_cast<long long>(std::clamp(at, -1.0, 1e6)));
}

int CursorXForIndex(const GeneratorWave& wave, PlotSpan plot, int index) {
    const double width = plotWidth(plot);
    const double span = usableSpan(wave);
    const double hidden = std::max<int>(wave.sampleCount, 1) - usableSpan(wave);
    return static_cast<int>(plot.left + 1 + width / span * index -
                            hidden * width * usableStart(wave) / span);
}

double VoltsAtY(int y, int top, int bottom) {
    if (bottom == top) return 0;
    return kFullScaleVolts - 2.0 * (y - top) * kFullScaleVolts / (bottom - top);
}

void DrawSample(GeneratorWave& wave, int previous, int current, double volts) {
    if (wave.sampleCount == 0) return;
    previous = keptIndex(wave, previous);
    current = keptIndex(wave, current);
    wave.bufferEdited = true;
    wave.samples[static_cast<std::size_t>(current)] = static_cast<float>(volts);
    const int distance = current - previous;
    if (distance == 0) return;
    const double from = wave.samples[static_cast<std::size_t>(previous)];
    const double to = wave.samples[static_cast<std::size_t>(current)];
    const int step = distance > 0 ? 1 : -1;
    for (int i = previous + step; i != current; i += step) {
        const double fraction = static_cast<double>(i - previous) / distance;
        wave.samples[static_cast<std::size_t>(i)] =
            static_cast<float>(from + (to - from) * fraction);
    }
}

uint16_t ZoomedInSpan(uint16_t span, uint16_t count) {
    if (count < kMinimumZoomSpan) return span;
    const int smaller = std::max(static_cast<int>(span * 2.0 / 3.0), int{kMinimumZoomSpan});
    return static_cast<uint16_t>(std::min<int>(smaller, count));
}

uint16_t ZoomedOutSpan(uint16_t span, uint16_t count) {
    const int larger = static_cast<int>(span * 1.5);
    return static_cast<uint16_t>(std::clamp<int>(larger, 1, std::max<int>(count, 1)));
}

bool ZoomAvailable(const GeneratorWave& wave) {
    return wave.waveType == WaveType::Arbitrary && wave.sampleCount > 100;
}

int LastEditableIndex(const GeneratorWave& wave) {
    return std::clamp(static_cast<int>(wave.pointsPerCycle) - 1, 0, lastIndex(wave));
}

int TypedIndex(const GeneratorWave& wave, long long typed) {
    return static_cast<int>(std::clamp<long long>(typed, 0, LastEditableIndex(wave)));
}

int SpunIndex(const GeneratorWave& wave, int index, int change) {
    index = TypedIndex(wave, index);
    if (change > 0 && index < LastEditableIndex(wave)) return index + 1;
    if (change < 0 && index >= 1) return index - 1;
    return index;
}

int ThumbCentreX(const GeneratorWave& wave, PlotSpan plot) {
    return plot.left + static_cast<int>(usableStart(wave) * plotWidth(plot));
}

float StartForThumbCentre(PlotSpan plot, int centreX) {
    const double start = static_cast<double>(centreX - plot.left) / plotWidth(plot);
    return static_cast<float>(std::clamp(start, 0.0, 1.0));
}

}  // namespace oscilane::arb
