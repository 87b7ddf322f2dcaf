// The byte layouts of the H, L and P records (documented in Mensyl.h) and
// their reading and writing.  Records come from callers and may hold anything,
// so reading checks every field before a value is used.
#pragma once

#include <cstdint>

namespace mensyl {

inline constexpr int kLevelRecordSize = 10;
inline constexpr int kPeriodRecordSize = 12;
inline constexpr std::uint8_t kHighTag = 0x48;  // 'H'
inline constexpr std::uint8_t kLowTag = 0x4C;   // 'L'

// One state level with its extreme: top and maximum (H) or base and minimum (L).
struct LevelRecord {
    bool fromMode = false;  // false: the level fell back to the extreme
    int extreme = 0;        // code 0..255
    double level = 0;       // codes, in steps of 1/64
    std::uint32_t count = 0;
};

// Writes the record; a null level means the record had no sample (all zeros).
void writeLevelRecord(void* record, std::uint8_t tag, const LevelRecord* level);
// False when the record holds no level, carries another tag or a field out of range.
bool readLevelRecord(const void* record, std::uint8_t tag, LevelRecord& level);

struct PeriodRecord {
    double period = 0;     // sample intervals; 0 without a whole cycle
    double firstRise = 0;  // sample intervals after data[0]; meaningful when rises > 0
    double duty = 0;       // positive duty cycle, 0..1; 0 without a whole cycle
    int rises = 0;         // rising mid-level crossings in the record
    bool falls = false;    // the record holds a falling mid-level crossing
};

void writePeriodRecord(void* record, const PeriodRecord& period);
// Fields that cannot hold are read as "nothing found" (a non-finite or
// negative period, a non-finite crossing position).
PeriodRecord readPeriodRecord(const void* record);

}  // namespace mensyl
