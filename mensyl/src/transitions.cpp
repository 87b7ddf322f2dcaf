#include "transitions.h"

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
    // Transitions alternate, so each interval between two crossings of one
    // polarity holds exactly one crossing of the other.  The time after a
    // crossing is kept pending until the next crossing of the same polarity
    // closes its cycle.
    if (rising) {
        highTime += pendingHigh;
        pendingHigh = 0;
        if (falls > 0) pendingLow = x - lastFall;
        if (rises++ == 0) firstRise = x;
        lastRise = x;
    } else {
        lowTime += pendingLow;
        pendingLow = 0;
        if (rises > 0) pendingHigh = x - lastRise;
        if (falls++ == 0) firstFall = x;
        lastFall = x;
    }
}

bool CycleScan::wholeCycles(double& first, double& last, int& cycles) const {
    if (rises >= falls) {
        first = firstRise;
        last = lastRise;
        cycles = rises - 1;
    } else {
        first = firstFall;
        last = lastFall;
        cycles = falls - 1;
    }
    return cycles > 0 && last > first;
}

PeriodRecord CycleScan::periodRecord() const {
    PeriodRecord p;
    p.rises = rises;
    p.firstRise = firstRise;
    double first = 0, last = 0;
    int cycles = 0;
    if (wholeCycles(first, last, cycles)) {
        const double span = last - first;
        p.period = span / cycles;
        p.duty = rises >= falls ? highTime / span : 1.0 - lowTime / span;
    }
    return p;
}

CycleScan scanCycles(const short* data, int n, const Levels& levels) {
    CycleScan scan;
    scanTransitions(data, n, midBoundaries(levels), [&scan](bool rising, double x) {
        scan.add(rising, x);
        return true;
    });
    return scan;
}

}  // namespace mensyl
