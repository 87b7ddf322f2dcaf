// Transitions between the two states of a record, confirmed with hysteresis:
// a transition counts only when the samples pass from one state boundary to
// the other, so noise on a level or a slow edge does not add edges.  Samples
// outside 0..255 are skipped; crossings interpolate across them.
#pragma once

#include <cmath>

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

// A run of more blanked points than this breaks the record into pieces:
// an edge may hide in it, so no crossing is interpolated across it and each
// piece starts without a known state.  Shorter runs are interpolated across.
inline constexpr int kLongestBridgedGap = 2;

// Calls onEdge(rising, position) for every confirmed transition, position
// being the mid-level crossing in sample intervals after data[0] (the mean of
// the transition's first and last crossing when noise crosses it more than
// once), and onBreak() at every long blanked run.  Stops when onEdge returns
// false.  A piece's first transition counts only after a state was seen, so
// an edge cut by the record's start or by a gap is never reported.
template <class OnEdge, class OnBreak>
void scanTransitions(const short* data, int n, const Boundaries& b, OnEdge&& onEdge,
                     OnBreak&& onBreak) {
    // Codes are whole numbers, so the boundaries become code thresholds and
    // the loop compares integers; floating point only interpolates.
    const int lowCode = static_cast<int>(std::floor(b.low));   // at or below: low
    const int highCode = static_cast<int>(std::ceil(b.high));  // at or above: high
    const int midCode = static_cast<int>(std::ceil(b.mid));    // below: under the mid level
    enum class State { unknown, low, high } state = State::unknown;
    int previousIndex = -1;
    int previous = 0;
    bool crossed = false;
    double firstCrossing = 0, lastCrossing = 0;
    for (int i = 0; i < n; ++i) {
        // Inside a state nothing happens until a sample leaves it: run over
        // the flat parts of the record quickly.
        if (state != State::unknown) {
            const int from = i;
            if (state == State::low)
                while (i < n && data[i] >= 0 && data[i] <= lowCode) ++i;
            else
                while (i < n && data[i] >= highCode && data[i] < kCodeCount) ++i;
            if (i > from) {
                previousIndex = i - 1;
                previous = data[i - 1];
                crossed = false;
            }
            if (i == n) break;
        }
        const int code = data[i];
        if (!isSampleCode(code)) continue;
        if (previousIndex >= 0 && i - previousIndex > kLongestBridgedGap + 1) {
            onBreak();
            state = State::unknown;
            previousIndex = -1;
            crossed = false;
        }
        if (previousIndex >= 0 && (previous < midCode) != (code < midCode)) {
            lastCrossing = interpolate(previousIndex, static_cast<float>(previous), i,
                                       static_cast<float>(code), b.mid);
            if (!crossed) firstCrossing = lastCrossing;
            crossed = true;
        }
        previous = code;
        previousIndex = i;
        if (code <= lowCode) {
            if (state == State::high && !onEdge(false, (firstCrossing + lastCrossing) / 2)) return;
            state = State::low;
            crossed = false;
        } else if (code >= highCode) {
            if (state == State::low && !onEdge(true, (firstCrossing + lastCrossing) / 2)) return;
            state = State::high;
            crossed = false;
        }
    }
}

template <class OnEdge>
void scanTransitions(const short* data, int n, const Boundaries& b, OnEdge&& onEdge) {
    scanTransitions(data, n, b, onEdge, [] {});
}

// Calls onEdge(duration) for every confirmed transition of one direction, the
// duration in sample intervals from leaving the state boundary `from` (its
// last crossing) to reaching the boundary `to` (its first crossing).
// Rising when from < to.  Long blanked runs break the record as above.
template <class OnEdge>
void scanEdgeDurations(const short* data, int n, float from, float to, OnEdge&& onEdge) {
    // Measure a falling edge as a rising edge of the negated codes.
    const int sign = from < to ? 1 : -1;
    const float start = static_cast<float>(sign) * from, end = static_cast<float>(sign) * to;
    const int startCode = static_cast<int>(std::floor(start));  // at or below: before the edge
    const int endCode = static_cast<int>(std::ceil(end));       // at or above: after it
    enum class State { unknown, before, after } state = State::unknown;
    int previousIndex = -1;
    int previous = 0;
    double left = 0;  // last crossing of the start boundary
    for (int i = 0; i < n; ++i) {
        // Run over the flat parts quickly, as in scanTransitions.
        if (state != State::unknown) {
            const int skipFrom = i;
            if (state == State::before)
                while (i < n && isSampleCode(data[i]) && sign * data[i] <= startCode) ++i;
            else
                while (i < n && isSampleCode(data[i]) && sign * data[i] >= endCode) ++i;
            if (i > skipFrom) {
                previousIndex = i - 1;
                previous = sign * data[i - 1];
            }
            if (i == n) break;
        }
        const int code = data[i];
        if (!isSampleCode(code)) continue;
        if (previousIndex >= 0 && i - previousIndex > kLongestBridgedGap + 1) {
            state = State::unknown;
            previousIndex = -1;
        }
        const int v = sign * code;
        if (previousIndex >= 0 && previous <= startCode && v > startCode)
            left = interpolate(previousIndex, static_cast<float>(previous), i,
                               static_cast<float>(v), start);
        if (v <= startCode) {
            state = State::before;
        } else if (v >= endCode) {
            if (state == State::before &&
                !onEdge(interpolate(previousIndex, static_cast<float>(previous), i,
                                    static_cast<float>(v), end) -
                        left))
                return;
            state = State::after;
        }
        previous = v;
        previousIndex = i;
    }
}

// Least-squares line through the crossings of one polarity within one piece,
// crossing k at first + k * period.
struct CrossingFit {
    int count = 0;
    double first = 0;
    double sumK = 0, sumX = 0, sumKK = 0, sumKX = 0;

    void add(double x) {
        const double k = count++;
        if (k == 0) first = x;
        sumK += k;
        sumX += x;
        sumKK += k * k;
        sumKX += k * x;
    }
    double spreadK() const { return count > 1 ? sumKK - sumK * sumK / count : 0; }
    double spreadKX() const { return count > 1 ? sumKX - sumK * sumX / count : 0; }
};

// The cycles of a record: the period as the common slope of the rising and
// the falling crossings of every unbroken piece (between the first and last
// crossing of each, whole cycles only) and the mean high and low pulse widths.
class CycleScan {
  public:
    void add(bool rising, double x);
    void endPiece();
    // Call endPiece() first.
    PeriodRecord periodRecord() const;

  private:
    CrossingFit rise_, fall_;  // the current piece
    bool inPiece_ = false;
    bool lastRising_ = false;
    double lastX_ = 0;
    double spreadK_ = 0, spreadKX_ = 0;  // of the finished pieces
    int rises_ = 0;
    bool falls_ = false;
    CrossingFit firstRises_;  // of the first piece with a rising crossing
    double highSum_ = 0, lowSum_ = 0;
    int highs_ = 0, lows_ = 0;
};

CycleScan scanCycles(const short* data, int n, const Levels& levels);

}  // namespace mensyl
