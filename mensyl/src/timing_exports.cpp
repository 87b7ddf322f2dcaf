// The exported period record and the time, duty-cycle and delay results.
#include <cmath>

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

// The first falling mid-level crossing of a record, in seconds.
bool firstFall(const Levels& levels, const short* data, int n, double t, double& at) {
    bool found = false;
    scanTransitions(data, n, midBoundaries(levels), [&](bool rising, double x) {
        if (rising) return true;
        at = x * t;
        found = true;
        return false;
    });
    return found;
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
    const PeriodRecord one = readPeriodRecord(P1), two = readPeriodRecord(P2);
    if (one.rises == 0 || two.rises == 0 || !usableInterval(t1) || !usableInterval(t2)) return 0;
    const double from = one.firstRise * t1;
    // CH2's rising crossings lie one period apart from its first one; take the
    // nearest of those inside its record.
    double k = 0;
    if (two.period > 0 && two.rises > 1) {
        k = std::round((from / t2 - two.firstRise) / two.period);
        if (!(k >= 0)) k = 0;
        if (k > two.rises - 1) k = two.rises - 1;
    }
    return finiteOrZero((two.firstRise + k * two.period) * t2 - from);
}

double CalNDelay12(const void* H1, const void* L1, const void* H2, const void* L2, const short* d1,
                   int n1, const short* d2, int n2, double t1, double t2) {
    Levels one, two;
    double from = 0;
    if (!d1 || !d2 || n1 <= 0 || n2 <= 0 || !usableInterval(t1) || !usableInterval(t2) ||
        !edgeLevels(H1, L1, one) || !edgeLevels(H2, L2, two) || !firstFall(one, d1, n1, t1, from))
        return 0;
    bool found = false;
    double nearest = 0;
    scanTransitions(d2, n2, midBoundaries(two), [&](bool rising, double x) {
        if (rising) return true;
        const double at = x * t2;
        if (!found || std::fabs(at - from) < std::fabs(nearest - from)) nearest = at;
        found = true;
        return at < from;  // later crossings are only farther away
    });
    return found ? finiteOrZero(nearest - from) : 0;
}

}  // extern "C"
