// State levels of a record: the top and base from a histogram of the codes.
#pragma once

#include <cstdint>

#include "records.h"

namespace mensyl {

inline constexpr int kCodeCount = 256;  // sample codes 0..255

// Codes outside 0..255 (32767 marks a blanked point) are no samples.
inline bool isSampleCode(int value) { return static_cast<unsigned>(value) < kCodeCount; }

struct StateLevels {
    LevelRecord high;  // top and maximum
    LevelRecord low;   // base and minimum
};

// False when the record holds no sample.
bool findStateLevels(const short* data, int n, StateLevels& levels);

}  // namespace mensyl
