#include "model/overlay_trace.h"

#include <algorithm>

#include "model/scope_scales.h"
#include "zelvo/scope_tables.h"

namespace oscilane {
namespace {

constexpr double kDivisionsAcross = 12;
constexpr double kDivisionsDown = 8;

}  // namespace

std::optional<OverlayScale> LiveOverlayScale(const ScopeSettings& live, int channel) {
    const std::optional<double> millivolts = MillivoltsPerDivision(live.voltsIndex(channel));
    if (!millivolts) return std::nullopt;
    OverlayScale scale;
    scale.voltsPerDivision = *millivolts * 0.001 * ProbeFactor(live.probe(channel));
    scale.zeroDivisions = ZeroCodeOfLever(live.position(channel)) * kDivisionsDown / kCodeMax;
    scale.secondsPerDivision = SecondsPerDivision(live.traceTimeBase(channel)).value_or(0.0);
    return scale;
}

std::vector<std::vector<GridPoint>> OverlayRuns(const CaptureTrace& trace,
                                                double fileSecondsPerDivision,
                                                const OverlayScale& live) {
    // Divisions across per sample of the file.
    double step = 1.0 / zelvo::tables::kSamplesPerDivision;
    if (fileSecondsPerDivision > 0 && live.secondsPerDivision > 0)
        step *= fileSecondsPerDivision / live.secondsPerDivision;
    std::vector<std::vector<GridPoint>> runs;
    std::vector<GridPoint> run;
    for (std::size_t i = 0; i < trace.volts.size(); ++i) {
        const double x = static_cast<double>(i) * step;
        if (x > kDivisionsAcross) break;
        const std::optional<double>& volts = trace.volts[i];
        if (!volts) {
            if (!run.empty()) runs.push_back(std::move(run));
            run.clear();
            continue;
        }
        const double y = live.zeroDivisions + *volts / live.voltsPerDivision;
        run.push_back({x, std::clamp(y, 0.0, kDivisionsDown)});
    }
    if (!run.empty()) runs.push_back(std::move(run));
    return runs;
}

}  // namespace oscilane
