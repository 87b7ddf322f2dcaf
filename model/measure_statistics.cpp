#include "model/measure_statistics.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "model/formatting.h"

namespace oscilane {
namespace {

constexpr double kPercent = 100;

}  // namespace

std::string StatisticsValueText(MeasureKind kind, double value) {
    const std::string_view unit = kindText(kind).csvUnit;
    if (unit == measuretext::kRatioUnit) {
        std::string text = SignificantText(value * kPercent);
        return text.empty() ? text : text + "%";
    }
    return EngineeringText(value, unit);
}

void MeasureStatistics::reset(std::size_t k) {
    stats_[k] = {};
    running_[k].sumOfSquares = 0;
}

void MeasureStatistics::restart() {
    for (std::size_t k = 0; k < stats_.size(); ++k) reset(k);
}

void MeasureStatistics::addFrame(const MeasureSet& set) {
    // A ninth measurement moves the others down a slot; their statistics move with them.
    const auto previousStats = stats_;
    const auto previousRunning = running_;
    for (std::size_t k = 0; k < stats_.size(); ++k) {
        const uint32_t serial = set.slot(static_cast<int>(k)).serial;
        reset(k);
        running_[k].serial = 0;
        for (std::size_t j = 0; j < stats_.size(); ++j) {
            if (serial != 0 && previousRunning[j].serial == serial) {
                stats_[k] = previousStats[j];
                running_[k] = previousRunning[j];
            }
        }
    }
    for (int i = 0; i < kMeasureSlotCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const MeasureSlot& slot = set.slot(i);
        if (!slot.enabled || i >= set.activeCount()) {
            reset(k);
            running_[k].serial = 0;
            continue;
        }
        if (slot.serial != running_[k].serial) {
            reset(k);
            running_[k].serial = slot.serial;
        }
        MeasureStats& s = stats_[k];
        s.current = set.value(i);
        if (!s.current || !std::isfinite(*s.current)) {
            s.current.reset();
            continue;
        }
        const double x = *s.current;
        ++s.frames;
        if (s.frames == 1) {
            s.minimum = s.maximum = s.mean = x;
        } else {
            s.minimum = std::min(s.minimum, x);
            s.maximum = std::max(s.maximum, x);
            const double before = s.mean;
            s.mean += (x - before) / static_cast<double>(s.frames);
            running_[k].sumOfSquares += (x - before) * (x - s.mean);
        }
        s.deviation =
            std::sqrt(std::max(0.0, running_[k].sumOfSquares) / static_cast<double>(s.frames));
    }
}

}  // namespace oscilane
