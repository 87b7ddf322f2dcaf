#include "model/capture_block.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/formatting.h"
#include "model/scope_scales.h"

namespace oscilane {
namespace {

namespace L = zelvo::layout;

constexpr int kProbeCount = 4;
constexpr int kVoltDecimals = 6;  // the files' volts
// The time base taken for a clock of 0 (a file saved at a time base outside the table).
constexpr double kDefaultSecondsPerDivision = 1e-3;
// Volts per division of the grid: 255 codes span 8 divisions.
constexpr double kDivisions = 8;

void put16(SettingBlock& block, std::size_t at, int value) {
    block[at] = static_cast<uint8_t>(value & 0xFF);
    block[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}
void put32(SettingBlock& block, std::size_t at, uint32_t value) {
    put16(block, at, static_cast<int>(value & 0xFFFF));
    put16(block, at + 2, static_cast<int>(value >> 16));
}

// Volts of one code at a scale, as the data file's writer computes them.
double codeVolts(int code, const CaptureScale& s) {
    return CodeMillivolts(code, s.lever, *MillivoltsPerDivision(s.voltsIndex),
                          ProbeFactor(s.probeIndex)) *
           0.001;
}

double voltsPerCode(const CaptureScale& s) {
    return *MillivoltsPerDivision(s.voltsIndex) * kDivisions / kCodeMax *
           ProbeFactor(s.probeIndex) * 0.001;
}

// The code nearest to volts at a scale; may lie off the grid.
double codeOf(double volts, const CaptureScale& s) {
    return std::round(volts / voltsPerCode(s) + ZeroCodeOfLever(s.lever));
}

// Whether every sample of the trace is a code on the grid whose volts the
// file writes exactly as it holds them.
bool reproduces(const CaptureTrace& trace, const CaptureScale& s) {
    for (const auto& v : trace.volts) {
        if (!v) continue;
        const double code = codeOf(*v, s);
        if (code < 0 || code > kCodeMax) return false;
        if (std::fabs(codeVolts(static_cast<int>(code), s) - *v) > 6e-7) return false;
    }
    for (const auto& v : trace.volts)
        if (v && FixedText(codeVolts(static_cast<int>(codeOf(*v, s)), s), kVoltDecimals) !=
                     FixedText(*v, kVoltDecimals))
            return false;
    return true;
}

std::optional<CaptureScale> savedScale(const CaptureTrace& trace) {
    for (int probe = 0; probe < kProbeCount; ++probe)
        for (int volts = 0; volts < kVoltsIndexCount; ++volts)
            for (int lever = 0; lever <= kLeverMax; ++lever) {
                const CaptureScale s{volts, probe, lever};
                if (reproduces(trace, s)) return s;
            }
    return std::nullopt;
}

// The lever that puts volts at the middle of the grid, within its range.
int centringLever(double volts, const CaptureScale& s) {
    const double zero = kCodeMax / 2.0 - volts / voltsPerCode(s);
    const double lever = std::round((kCodeMax - zero) * kLeverMax / kCodeMax);
    return static_cast<int>(std::clamp(lever, 0.0, static_cast<double>(kLeverMax)));
}

CaptureScale fittingScale(const CaptureTrace& trace) {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const auto& v : trace.volts)
        if (v) {
            low = std::min(low, *v);
            high = std::max(high, *v);
        }
    if (low > high) low = high = 0;  // no value at all: any scale shows it
    CaptureScale s;
    for (int probe = 0; probe < kProbeCount; ++probe)
        for (int volts = 0; volts < kVoltsIndexCount; ++volts) {
            s = {volts, probe, 0};
            s.lever = centringLever((low + high) / 2, s);
            const double lowCode = codeOf(low, s);
            const double highCode = codeOf(high, s);
            if (lowCode >= 0 && highCode <= kCodeMax) return s;
        }
    return s;  // the largest scale there is, clipped
}

int nearestTimeBase(double secondsPerDivision) {
    const double wanted = secondsPerDivision > 0 ? secondsPerDivision : kDefaultSecondsPerDivision;
    int best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (int index = 0; index < kTimeBaseIndexCount; ++index) {
        const double distance = std::fabs(std::log(*SecondsPerDivision(index) / wanted));
        if (distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

// The file's sample shown at sample i of the block at the time base: the
// nearest in time, none beyond the file's last.
std::optional<double> sampleAt(const Capture& capture, const CaptureTrace& trace, int i,
                               int timeBaseIndex) {
    std::size_t j = static_cast<std::size_t>(i);
    if (capture.secondsPerDivision > 0 && timeBaseIndex != capture.timeBaseIndex) {
        const double ratio = *SecondsPerDivision(timeBaseIndex) / capture.secondsPerDivision;
        const double at = std::round(i * ratio);
        if (at >= static_cast<double>(trace.volts.size())) return std::nullopt;
        j = static_cast<std::size_t>(at);
    }
    return j < trace.volts.size() ? trace.volts[j] : std::nullopt;
}

}  // namespace

CaptureScales FitCaptureScales(const Capture& capture) {
    CaptureScales scales;
    scales.timeBaseIndex =
        capture.timeBaseIndex.value_or(nearestTimeBase(capture.secondsPerDivision));
    for (const CaptureTrace& trace : capture.traces) {
        const auto saved = savedScale(trace);
        scales.channels[static_cast<std::size_t>(trace.channel)] =
            saved ? *saved : fittingScale(trace);
    }
    return scales;
}

SettingBlock CaptureBlock(const Capture& capture, const CaptureScales& scales) {
    SettingBlock block{};
    const int timeBase = std::clamp(scales.timeBaseIndex, 0, kTimeBaseIndexCount - 1);
    put16(block, L::kTimeBase, timeBase);
    put16(block, L::kRunStop, 1);  // stopped: the traces are the capture's, not live
    for (int c = 0; c < L::kWaveformCount; ++c) {
        for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
            put16(block, L::traceSamples(c) + 2 * i, L::kBlankedSample);
        // MATH keeps a time base of its own.
        put16(block, L::firstChannelRecord(c) + L::channel::kAltTimeBase, timeBase);
    }
    for (const CaptureTrace& trace : capture.traces) {
        const int c = trace.channel;
        CaptureScale s = scales.channels[static_cast<std::size_t>(c)];
        s.voltsIndex = std::clamp(s.voltsIndex, 0, kVoltsIndexCount - 1);
        s.probeIndex = std::clamp(s.probeIndex, 0, kProbeCount - 1);
        s.lever = std::clamp(s.lever, 0, kLeverMax);
        const auto volts10uV =
            static_cast<uint32_t>(std::lround(*MillivoltsPerDivision(s.voltsIndex) * 100));
        for (const std::size_t record : {L::firstChannelRecord(c), L::secondChannelRecord(c)}) {
            put16(block, record + L::channel::kShown, s.shown ? 1 : 0);
            put16(block, record + L::channel::kVoltsIndex, s.voltsIndex);
            put16(block, record + L::channel::kProbe, s.probeIndex);
            put32(block, record + L::channel::kVoltsValue, volts10uV);
            put16(block, record + L::channel::kPosition, s.lever);
        }
        const std::size_t w = L::waveformRecord(c);
        put32(block, w + L::waveform::kStep,
              zelvo::tables::kHorizontalPositionMax * 1000u / L::kSamplesPerTrace);
        put32(block, w + L::waveform::kSampleCount, L::kSamplesPerTrace);
        put16(block, w + L::waveform::kVector, 1);
        for (int i = 0; i < static_cast<int>(L::kSamplesPerTrace); ++i) {
            const auto v = sampleAt(capture, trace, i, timeBase);
            if (!v) continue;
            const double code = std::clamp(codeOf(*v, s), 0.0, static_cast<double>(kCodeMax));
            put16(block, L::traceSamples(c) + 2 * static_cast<std::size_t>(i),
                  static_cast<int>(code));
        }
    }
    return block;
}

}  // namespace oscilane
