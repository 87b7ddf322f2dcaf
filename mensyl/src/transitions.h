// Transitions between the two states of a record, confirmed with hysteresis:
// a transition counts only when the samples pass from one state boundary to
// the other, so noise on a level or a slow edge does not add edges.  Samples
// outside 0..255 are skipped; crossings interpolate across them.
#pragma once

#include "levels.h"
#include "records.h"

namespace mensyl {

// Below this many codes between top and base no transition is looked for.
inline constexpr double kMinimumAmplitude = 5.0;

// Levels of a pair of H and L records, ready for transition scans.
struct Levels {
    double top = 0;
    double base = 0;
    double amplitude() const { return top - base; }
    // A fraction of the amplitude above the base, in codes.
    double at(double fraction) const { return base + fraction * amplitude(); }
};

// False when either record holds no level or the amplitude is too small.
bool edgeLevels(const void* H, const void* L, Levels& levels);

struct Boundaries {
    float low;   // at or below: the low state
    float mid;   // reference level whose crossings are reported
    float high;  // at or above: the high state
};

// The mid-level boundaries of the period and delay scans.
Boundaries midBoundaries(const Levels& levels);

inline double interpolate(int fromIndex, float from, int toIndex, float to, float level) {
    return fromIndex + static_cast<double>((level - from) / (to - from)) * (toIndex - fromIndex);
}

// Calls onEdge(rising, position) for every confirmed transition, position
// being the mid-level crossing in sample intervals after data[0] (the mean of
// the transition's first and last crossing when noise crosses it more than
// once).  Stops when onEdge returns false.  The record's first transition
// counts only after a state was seen, so an edge cut by the record's start is
// never reported.
template <class OnEdge>
void scanTransitions(const short* data, int n, const Boundaries& b, OnEdge&& onEdge) {
    enum class State { unknown, low, high } state = State::unknown;
    int previousIndex = -1;
    float previous = 0;
    bool crossed = false;
    double firstCrossing = 0, lastCrossing = 0;
    for (int i = 0; i < n; ++i) {
        const int code = data[i];
        if (!isSampleCode(code)) continue;
        const float v = static_cast<float>(code);
        if (previousIndex >= 0 && (previous < b.mid) != (v < b.mid)) {
            lastCrossing = interpolate(previousIndex, previous, i, v, b.mid);
            if (!crossed) firstCrossing = lastCrossing;
            crossed = true;
        }
        previous = v;
        previousIndex = i;
        if (v <= b.low) {
            if (state == State::high && !onEdge(false, (firstCrossing + lastCrossing) / 2)) return;
            state = State::low;
            crossed = false;
        } else if (v >= b.high) {
            if (state == State::low && !onEdge(true, (firstCrossing + lastCrossing) / 2)) return;
            state = State::high;
            crossed = false;
        }
    }
}

// Calls onEdge(duration) for every confirmed transition of one direction, the
// duration in sample intervals from leaving the state boundary `from` (its
// last crossing) to reaching the boundary `to` (its first crossing).
// Rising when from < to.
template <class OnEdge>
void scanEdgeDurations(const short* data, int n, float from, float to, OnEdge&& onEdge) {
    const bool rising = from < to;
    // Measure a falling edge as a rising edge of the negated samples.
    const float sign = rising ? 1.0f : -1.0f;
    const float start = sign * from, end = sign * to;
    enum class State { unknown, before, after } state = State::unknown;
    int previousIndex = -1;
    float previous = 0;
    double left = 0;  // last crossing of the start boundary
    for (int i = 0; i < n; ++i) {
        const int code = data[i];
        if (!isSampleCode(code)) continue;
        const float v = sign * static_cast<float>(code);
        if (previousIndex >= 0 && previous <= start && v > start)
            left = interpolate(previousIndex, previous, i, v, start);
        if (v <= start) {
            state = State::before;
        } else if (v >= end) {
            if (state == State::before &&
                !onEdge(interpolate(previousIndex, previous, i, v, end) - left))
                return;
            state = State::after;
        }
        previous = v;
        previousIndex = i;
    }
}

// Crossings of one polarity and the time spent after each of them, over the
// whole cycles of a record.
struct CycleScan {
    int rises = 0, falls = 0;
    double firstRise = 0, lastRise = 0, firstFall = 0, lastFall = 0;
    double highTime = 0;  // high time inside the rise-to-rise cycles
    double lowTime = 0;   // low time inside the fall-to-fall cycles
    double pendingHigh = 0, pendingLow = 0;

    void add(bool rising, double x);
    // The whole cycles: the crossings of the polarity with more of them.
    bool wholeCycles(double& first, double& last, int& cycles) const;
    PeriodRecord periodRecord() const;
};

CycleScan scanCycles(const short* data, int n, const Levels& levels);

}  // namespace mensyl
