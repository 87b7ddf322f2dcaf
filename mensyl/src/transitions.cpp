#include "transitions.h"

#include <initializer_list>

namespace mensyl {
namespace {

// State boundaries of the mid-level scans, as fractions of the amplitude.
inline constexpr double kLowBoundary = 0.25;
inline constexpr double kHighBoundary = 0.75;

}  // namespace

bool edgeLevels(const void* H, const void* L, Levels& levels) {
    LevelRecord high, low;
    if (!readLevelRecord(H, kHighTag, high) || !readLevelRecord(L, kLowTag, low)) return false;
    levels.top = high.level;
    levels.base = low.level;
    return levels.amplitude() >= kMinimumAmplitude;
}

Boundaries midBoundaries(const Levels& levels) {
    return {static_cast<float>(levels.at(kLowBoundary)), static_cast<float>(levels.at(0.5)),
            static_cast<float>(levels.at(kHighBoundary))};
}

void CycleScan::add(bool rising, double x) {
    // Transitions alternate within a piece, so the time since the previous
    // crossing is one whole high or low pulse.
    if (inPiece_ && lastRising_ != rising) {
        if (rising) {
            lowSum_ += x - lastX_;
            ++lows_;
        } else {
            highSum_ += x - lastX_;
            ++highs_;
        }
    }
    (rising ? rise_ : fall_).add(x);
    if (!rising) falls_ = true;
    inPiece_ = true;
    lastRising_ = rising;
    lastX_ = x;
}

void CycleScan::endPiece() {
    for (const CrossingFit* fit : {&rise_, &fall_}) {
        spreadK_ += fit->spreadK();
        spreadKX_ += fit->spreadKX();
    }
    if (rises_ == 0) firstRises_ = rise_;
    rises_ += rise_.count;
    rise_ = fall_ = CrossingFit{};
    inPiece_ = false;
}

PeriodRecord CycleScan::periodRecord() const {
    PeriodRecord p;
    p.rises = rises_;
    p.falls = falls_;
    if (spreadK_ > 0 && spreadKX_ > 0) p.period = spreadKX_ / spreadK_;
    p.firstRise = firstRises_.first;
    if (p.period > 0 && firstRises_.count > 1)
        p.firstRise = (firstRises_.sumX - p.period * firstRises_.sumK) / firstRises_.count;
    if (p.period > 0) {
        const double high = highs_ > 0 ? highSum_ / highs_ : 0;
        const double low = lows_ > 0 ? lowSum_ / lows_ : 0;
        double duty = 0;
        if (highs_ > 0 && lows_ > 0)
            duty = high / (high + low);
        else if (highs_ > 0)
            duty = high / p.period;
        else if (lows_ > 0)
            duty = 1 - low / p.period;
        if (duty > 0 && duty < 1) p.duty = duty;
    }
    return p;
}

CycleScan scanCycles(const short* data, int n, const Levels& levels) {
    CycleScan scan;
    scanTransitions(
        data, n, midBoundaries(levels),
        [&scan](bool rising, double x) {
            scan.add(rising, x);
            return true;
        },
        [&scan] { scan.endPiece(); });
    scan.endPiece();
    return scan;
}

}  // namespace mensyl
