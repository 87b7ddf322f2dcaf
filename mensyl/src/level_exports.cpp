// The exported preparation of the level records and the voltage and
// aberration results.
#include <cmath>
#include <cstdint>

#include "levels.h"
#include "mensyl/Mensyl.h"
#include "records.h"
#include "results.h"
#include "transitions.h"

using namespace mensyl;

namespace {

bool readBoth(const void* H, const void* L, LevelRecord& high, LevelRecord& low) {
    return readLevelRecord(H, kHighTag, high) && readLevelRecord(L, kLowTag, low);
}

// Sums of the codes and their squares over every sample of the record;
// blanked points are no samples and are left out.
struct Sums {
    std::int64_t count = 0, sum = 0, squares = 0;
};

Sums sumCodes(const short* data, int n) {
    Sums s;
    if (!data) return s;
    for (int i = 0; i < n; ++i) {
        const int code = data[i];
        if (!isSampleCode(code)) continue;
        ++s.count;
        s.sum += code;
        s.squares += code * code;
    }
    return s;
}

double aberration(const void* H, const void* L, bool above) {
    LevelRecord high, low;
    if (!readBoth(H, L, high, low)) return 0;
    const double amplitude = high.level - low.level;
    if (amplitude < kMinimumAmplitude) return 0;
    const double beyond = above ? high.extreme - high.level : low.level - low.extreme;
    return beyond > 0 ? beyond / amplitude : 0;
}

}  // namespace

extern "C" {

int PreMeas(void* H, void* L, const short* data, int n) {
    StateLevels levels;
    const bool found = findStateLevels(data, n, levels);
    if (H) writeLevelRecord(H, kHighTag, found ? &levels.high : nullptr);
    if (L) writeLevelRecord(L, kLowTag, found ? &levels.low : nullptr);
    return found ? 0 : 1;
}

double CalVpp(const void* H, const void* L, double f, int full) {
    LevelRecord high, low;
    if (!readBoth(H, L, high, low)) return 0;
    return finiteOrZero((high.extreme - low.extreme) * millivoltsPerCode(f, full));
}

double CalMaxVolt(const void* H, int z, double f) {
    LevelRecord high;
    if (!readLevelRecord(H, kHighTag, high)) return 0;
    return levelMillivolts(high.extreme, z, f, kFullScale);
}

double CalMinVolt(const void* L, int z, double f) {
    LevelRecord low;
    if (!readLevelRecord(L, kLowTag, low)) return 0;
    return levelMillivolts(low.extreme, z, f, kFullScale);
}

double CalAmplitude(const void* H, const void* L, double f) {
    LevelRecord high, low;
    if (!readBoth(H, L, high, low)) return 0;
    return finiteOrZero((high.level - low.level) * millivoltsPerCode(f, kFullScale));
}

double CalTopVolt(const void* H, int z, double f) {
    LevelRecord high;
    if (!readLevelRecord(H, kHighTag, high)) return 0;
    return levelMillivolts(high.level, z, f, kFullScale);
}

double CalMidVolt(const void* H, const void* L, int z, double f, int full) {
    LevelRecord high, low;
    if (!readBoth(H, L, high, low)) return 0;
    return levelMillivolts((high.level + low.level) / 2, z, f, full);
}

double CalBaseVolt(const void* L, int z, double f) {
    LevelRecord low;
    if (!readLevelRecord(L, kLowTag, low)) return 0;
    return levelMillivolts(low.level, z, f, kFullScale);
}

double CalMean(const short* data, int n, int z, double f, int full) {
    const Sums s = sumCodes(data, n);
    if (s.count == 0) return 0;
    return levelMillivolts(static_cast<double>(s.sum) / static_cast<double>(s.count), z, f, full);
}

double CalRMS(const short* data, int n, int z, double f, int full) {
    const Sums s = sumCodes(data, n);
    if (s.count == 0) return 0;
    // Mean square of (code - zero), from the sums of codes and squares.
    const double count = static_cast<double>(s.count);
    const double zero = static_cast<double>(full) - z;
    const double meanSquare = static_cast<double>(s.squares) / count -
                              2 * zero * static_cast<double>(s.sum) / count + zero * zero;
    return finiteOrZero(std::sqrt(meanSquare > 0 ? meanSquare : 0) * millivoltsPerCode(f, full));
}

double CalPreShoot(const void* H, const void* L) { return aberration(H, L, false); }

double CalOverShoot(const void* H, const void* L) { return aberration(H, L, true); }

}  // extern "C"
