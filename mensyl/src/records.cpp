#include "records.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace mensyl {
namespace {

inline constexpr double kLevelSteps = 64.0;  // fixed-point steps per code
inline constexpr int kMaxCode = 255;
// Bytes 10..11 of P: the count of rising crossings in the low 15 bits, and
// whether there is a falling crossing in the top bit.
inline constexpr int kMaxRises = 0x7FFF;
inline constexpr std::uint32_t kFallsBit = 0x8000;

void put16(unsigned char* at, std::uint32_t v) {
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* at, std::uint32_t v) {
    put16(at, v & 0xFFFFu);
    put16(at + 2, v >> 16);
}
std::uint32_t get16(const unsigned char* at) { return at[0] | (std::uint32_t{at[1]} << 8); }
std::uint32_t get32(const unsigned char* at) { return get16(at) | (get16(at + 2) << 16); }

void putFloat(unsigned char* at, double v) {
    put32(at, std::bit_cast<std::uint32_t>(static_cast<float>(v)));
}
double getFloat(const unsigned char* at) {
    return static_cast<double>(std::bit_cast<float>(get32(at)));
}

}  // namespace

void writeLevelRecord(void* record, std::uint8_t tag, const LevelRecord* level) {
    unsigned char bytes[kLevelRecordSize] = {};
    if (level) {
        bytes[0] = tag;
        bytes[1] = level->fromMode ? 1 : 0;
        put16(bytes + 2, static_cast<std::uint32_t>(level->extreme));
        put16(bytes + 4, static_cast<std::uint32_t>(std::lround(level->level * kLevelSteps)));
        put32(bytes + 6, level->count);
    }
    std::memcpy(record, bytes, sizeof bytes);
}

bool readLevelRecord(const void* record, std::uint8_t tag, LevelRecord& level) {
    if (!record) return false;
    unsigned char bytes[kLevelRecordSize];
    std::memcpy(bytes, record, sizeof bytes);
    if (bytes[0] != tag) return false;
    const std::uint32_t extreme = get16(bytes + 2);
    const std::uint32_t steps = get16(bytes + 4);
    if (extreme > kMaxCode || steps > kMaxCode * kLevelSteps) return false;
    level.fromMode = (bytes[1] & 1) != 0;
    level.extreme = static_cast<int>(extreme);
    level.level = steps / kLevelSteps;
    level.count = get32(bytes + 6);
    return level.count > 0;
}

void writePeriodRecord(void* record, const PeriodRecord& period) {
    unsigned char bytes[kPeriodRecordSize] = {};
    putFloat(bytes, period.period);
    putFloat(bytes + 4, period.rises > 0 ? period.firstRise : 0.0);
    put16(bytes + 8, static_cast<std::uint32_t>(std::lround(period.duty * 65535.0)));
    const auto rises = static_cast<std::uint32_t>(std::min(period.rises, kMaxRises));
    put16(bytes + 10, rises | (period.falls ? kFallsBit : 0u));
    std::memcpy(record, bytes, sizeof bytes);
}

PeriodRecord readPeriodRecord(const void* record) {
    PeriodRecord p;
    if (!record) return p;
    unsigned char bytes[kPeriodRecordSize];
    std::memcpy(bytes, record, sizeof bytes);
    const double period = getFloat(bytes);
    const double firstRise = getFloat(bytes + 4);
    if (std::isfinite(period) && period > 0) {
        p.period = period;
        p.duty = get16(bytes + 8) / 65535.0;
    }
    const std::uint32_t crossings = get16(bytes + 10);
    if (std::isfinite(firstRise)) {
        p.firstRise = firstRise;
        p.rises = static_cast<int>(crossings & kMaxRises);
    }
    p.falls = (crossings & kFallsBit) != 0;
    return p;
}

}  // namespace mensyl
