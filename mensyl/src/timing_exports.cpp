// The exported period record and the time, duty-cycle and delay results.
#include <cmath>
#include <cstddef>
#include <new>
#include <optional>
#include <vector>

#include "mensyl/Mensyl.h"
#include "records.h"
#include "results.h"
#include "transitions.h"

using namespace mensyl;

namespace {

bool validFractions(float hi, float lo) {
    return std::isfinite(hi) && std::isfinite(lo) && lo >= 0 && hi <= 1 && lo < hi;
}

// Mean 10-90 % (or hi-lo) duration of the record's transitions of one
// direction, in seconds: 0 below one sample interval, -1 when there is none.
double edgeTime(const void* H, const void* L, const short* data, int n, double t, float hi,
                float lo, bool rising) {
    constexpr double kNone = -1;
    Levels levels;
    if (!data || n <= 0 || !usableInterval(t) || !validFractions(hi, lo) ||
        !edgeLevels(H, L, levels))
        return kNone;
    const float loLevel = static_cast<float>(levels.at(lo));
    const float hiLevel = static_cast<float>(levels.at(hi));
    double total = 0;
    int edges = 0;
    scanEdgeDurations(data, n, rising ? loLevel : hiLevel, rising ? hiLevel : loLevel,
                      [&](double duration) {
                          total += duration;
                          ++edges;
                          return true;
                      });
    if (edges == 0) return kNone;
    const double samples = total / edges;
    return samples < 1 ? 0 : finiteOrZero(samples * t);
}

// A record's rising mid-level crossings as its period record describes them,
// in seconds: the first one, then one period apart.
struct CrossingTrain {
    double first = 0;
    double spacing = 0;
    int count = 0;
};

CrossingTrain risingTrain(const PeriodRecord& p, double t) {
    return {p.firstRise * t, p.period * t, p.period > 0 ? p.rises : 1};
}

// The delay between the closest pair of a crossing of `one` and a later (or,
// negative, earlier) crossing of `two`.  Only crossings inside the records
// count, so an edge just before a record cannot turn a lead into a lag.
double nearestDelay(const CrossingTrain& one, const CrossingTrain& two) {
    double best = 0;
    for (int i = 0; i < one.count; ++i) {
        const double from = one.first + i * one.spacing;
        double k = 0;
        if (two.spacing > 0) {
            k = std::round((from - two.first) / two.spacing);
            if (!(k >= 0)) k = 0;
            if (k > two.count - 1) k = two.count - 1;
        }
        const double delay = two.first + k * two.spacing - from;
        if (i == 0 || std::fabs(delay) < std::fabs(best)) best = delay;
    }
    return best;
}

// The same over two ascending lists of crossing times.  The closest pair
// fixes the delay; every crossing of `one` with a crossing of `two` near that
// delay (within a quarter of `two`'s mean spacing) then adds to a mean, so
// noise on single crossings averages out.
double nearestDelay(const std::vector<double>& one, const std::vector<double>& two) {
    // Index of the last crossing of `two` at or before `at` (or 0), walking forward.
    const auto nearestTo = [&two](double at, std::size_t& k) {
        while (k + 1 < two.size() && two[k + 1] <= at) ++k;
        if (k + 1 < two.size() && std::fabs(two[k + 1] - at) < std::fabs(two[k] - at))
            return two[k + 1];
        return two[k];
    };
    double best = two.front() - one.front();
    std::size_t k = 0;
    for (const double from : one) {
        const double delay = nearestTo(from, k) - from;
        if (std::fabs(delay) < std::fabs(best)) best = delay;
    }
    if (two.size() < 2) return best;
    const double reach = (two.back() - two.front()) / static_cast<double>(two.size() - 1) / 4;
    double sum = 0;
    int pairs = 0;
    k = 0;
    for (const double from : one) {
        const double delay = nearestTo(from + best, k) - from;
        if (std::fabs(delay - best) > reach) continue;
        sum += delay;
        ++pairs;
    }
    return pairs > 0 ? sum / pairs : best;
}

std::vector<double> fallingCrossings(const Levels& levels, const short* data, int n, double t) {
    std::vector<double> times;
    scanTransitions(data, n, midBoundaries(levels), [&](bool rising, double x) {
        if (!rising) times.push_back(x * t);
        return true;
    });
    return times;
}

// What the delays return without a pair of crossings; a true delay of 0 is
// told from it by the period records (MensylHasRisingCrossing and
// MensylHasFallingCrossing in the header).
constexpr double kNoPair = 0;

// A delay, or none when the two records hold no pair of crossings to take
// it from.  Only at the exported functions does "none" become kNoPair.
std::optional<double> finiteDelay(double delay) {
    if (!std::isfinite(delay)) return std::nullopt;
    return delay;
}

std::optional<double> risingDelay(const void* P1, const void* P2, double t1, double t2) {
    const PeriodRecord one = readPeriodRecord(P1), two = readPeriodRecord(P2);
    if (one.rises == 0 || two.rises == 0 || !usableInterval(t1) || !usableInterval(t2))
        return std::nullopt;
    return finiteDelay(nearestDelay(risingTrain(one, t1), risingTrain(two, t2)));
}

std::optional<double> fallingDelay(const void* H1, const void* L1, const void* H2, const void* L2,
                                   const short* d1, int n1, const short* d2, int n2, double t1,
                                   double t2) {
    Levels one, two;
    if (!d1 || !d2 || n1 <= 0 || n2 <= 0 || !usableInterval(t1) || !usableInterval(t2) ||
        !edgeLevels(H1, L1, one) || !edgeLevels(H2, L2, two))
        return std::nullopt;
    try {
        const std::vector<double> falls1 = fallingCrossings(one, d1, n1, t1);
        const std::vector<double> falls2 = fallingCrossings(two, d2, n2, t2);
        if (falls1.empty() || falls2.empty()) return std::nullopt;
        return finiteDelay(nearestDelay(falls1, falls2));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" {

int FindPeriod(void* P, const void* H, const void* L, const short* data, int n) {
    if (!P) return 1;
    PeriodRecord record;
    Levels levels;
    if (data && n > 0 && edgeLevels(H, L, levels))
        record = scanCycles(data, n, levels).periodRecord();
    writePeriodRecord(P, record);
    return record.period > 0 ? 0 : 1;
}

double CalPeriod(const void* P, double t) {
    if (!usableInterval(t)) return 0;
    return finiteOrZero(readPeriodRecord(P).period * t);
}

double CalFrequency(const void* P, double t) {
    const double period = CalPeriod(P, t);
    return period > 0 ? finiteOrZero(1 / period) : 0;
}

double CalPDutyCycle(const void* P) { return readPeriodRecord(P).duty; }

double CalNDutyCycle(const void* P) {
    const double duty = readPeriodRecord(P).duty;
    return duty > 0 && duty < 1 ? 1 - duty : 0;
}

double CalPPulseWidth(const void* P, double t) {
    return finiteOrZero(CalPDutyCycle(P) * CalPeriod(P, t));
}

double CalNPulseWidth(const void* P, double t) {
    return finiteOrZero(CalNDutyCycle(P) * CalPeriod(P, t));
}

double CalRiseTime(const void* H, const void* L, const short* data, int n, double t, float hi,
                   float lo) {
    return edgeTime(H, L, data, n, t, hi, lo, true);
}

double CalFallTime(const void* H, const void* L, const short* data, int n, double t, float hi,
                   float lo) {
    return edgeTime(H, L, data, n, t, hi, lo, false);
}

double CalPDelay12(const void* P1, const void* P2, double t1, double t2) {
    return risingDelay(P1, P2, t1, t2).value_or(kNoPair);
}

double CalNDelay12(const void* H1, const void* L1, const void* H2, const void* L2, const short* d1,
                   int n1, const short* d2, int n2, double t1, double t2) {
    return fallingDelay(H1, L1, H2, L2, d1, n1, d2, n2, t1, t2).value_or(kNoPair);
}

}  // extern "C"
