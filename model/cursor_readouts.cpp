#include "model/cursor_readouts.h"

#include <cmath>
#include <cstdint>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_tool_texts.h"

namespace oscilane {
namespace {

constexpr int kAcross = 12;  // divisions across the grid
constexpr int kDown = 8;     // divisions down the grid

bool cursorChannel(int channel) { return channel >= kCh1 && channel <= kMath; }

// Seconds per division that apply to the cursor channel: its own time base
// in ALT trigger mode, the common one otherwise; 0 when there is none.
double cursorSecondsPerDivision(const ScopeSettings& s, int channel) {
    int index = s.timeBase();
    if (s.altTrigger()) {
        if (!cursorChannel(channel)) return 0;
        index = s.altTimeBase(channel);
    }
    return SecondsPerDivision(index).value_or(0);
}

// Seconds between two cursors; none when the grid has no span.
std::optional<double> cursorSeconds(const ScopeSettings& s, int channel, int dx, int w) {
    if (w - 1 <= 0) return std::nullopt;
    return dx * cursorSecondsPerDivision(s, channel) * kAcross / (w - 1);
}

bool dbScale(const ScopeSettings& s) { return s.fftScale() != 0; }

}  // namespace

bool CursorOnFft(const ScopeSettings& s, int channel) {
    return channel == kMath && s.mathOperator() == kFftOperator;
}

std::string CursorTime(const ScopeSettings& s, int channel, int dx, int w) {
    if (CursorOnFft(s, channel)) return {};
    const std::optional<double> seconds = cursorSeconds(s, channel, dx, w);
    if (!seconds) return {};
    return TimeText(*seconds * 1e9);
}

std::string CursorFrequency(const ScopeSettings& s, int channel, int dx, int w) {
    if (CursorOnFft(s, channel)) {
        const double rate = FftSampleRate(s).value_or(0);
        const int span = s.altTrigger() ? w - 1 : w;
        if (span <= 0) return {};
        return FreqText(dx * (rate / kFftRatePerDivision) * kAcross / span);
    }
    const std::optional<double> seconds = cursorSeconds(s, channel, dx, w);
    if (!seconds) return {};
    return FreqText(*seconds != 0 ? 1 / *seconds : 0);
}

std::string CursorVoltage(const ScopeSettings& s, int channel, int dy, int h) {
    if (h <= 0) return {};
    if (CursorOnFft(s, channel) && dbScale(s)) {
        const std::optional<int> step = FftDecibelsPerDivision(s.fftDbIndex());
        if (!step) return {};
        return DbText(static_cast<double>(*step) * kDown / h * dy, 3);
    }
    const std::optional<double> perDivision = MillivoltsPerDivision(s.voltsIndex(channel));
    if (!perDivision) return {};
    return VoltText(*perDivision * kDown / h * dy, static_cast<uint16_t>(s.probe(channel)));
}

std::optional<double> SampleToMillivolts(const ScopeSettings& s, int sample, int channel) {
    return SampleMillivolts(s, channel, sample);
}

std::optional<int> TraceCursorIndex(int dx, int w, int pointCount) {
    if (w <= 0 || pointCount <= 0) return std::nullopt;
    const double at = static_cast<double>(dx) / w * pointCount;
    // Compared before the conversion, so a far-off dx cannot overflow it.
    if (at <= -1.0 || at >= pointCount + 1.0) return std::nullopt;
    const int i = static_cast<int>(at);
    return i == pointCount ? pointCount - 1 : i;
}

std::string TraceVoltage(const ScopeSettings& s, int channel, int dx, int w) {
    if (!cursorChannel(channel)) return {};
    const bool fft = CursorOnFft(s, channel);
    // A switched-off trace has no sample to follow.
    if (!fft && !s.shown(channel)) return {};
    const std::optional<int> i = TraceCursorIndex(dx, w, s.pointCount(channel));
    if (!i) return tooltext::kNoTracePoint;
    const int code = s.sample(channel, *i);
    if (code < 0 || code > kCodeMax) return {};  // a blanked sample is no point
    if (fft && dbScale(s)) {
        const std::optional<int> step = FftDecibelsPerDivision(s.fftDbIndex());
        if (!step) return {};
        return DbText((code - ZeroCodeOfLever(s.position(kMath))) * *step * kDown / kCodeMax, 3);
    }
    const std::optional<double> millivolts = SampleToMillivolts(s, code, channel);
    if (!millivolts) return {};
    // The probe factor is already in the millivolts.
    return VoltText(*millivolts, 0);
}

std::optional<TraceMark> TraceMarkAt(const ScopeSettings& s, int channel, int dx, int w, int h) {
    if (!cursorChannel(channel) || h <= 0) return std::nullopt;
    if (!CursorOnFft(s, channel) && !s.shown(channel)) return std::nullopt;
    const int count = s.pointCount(channel);
    const std::optional<int> i = TraceCursorIndex(std::abs(dx), w, count);
    if (!i) return std::nullopt;
    const int code = s.sample(channel, *i);
    if (code < 0 || code > kCodeMax) return std::nullopt;
    return TraceMark{*i, static_cast<int>(static_cast<double>(w) / count * *i),
                     static_cast<int>((kCodeMax - code) * static_cast<double>(h) / kCodeMax)};
}

}  // namespace oscilane
