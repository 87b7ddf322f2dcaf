// The meter data area of a meter window's connection: the last good reading
// the worker polled.  The meter window's trend and log grow from it.
#pragma once

#include <cstdint>

#include "zelvo/ZelvoDLL.h"

namespace oscilane {

struct MeterReadings {
    DmmInfo last{};
    bool hasReading = false;
    uint32_t readingCount = 0;  // good polls since the last reset

    // A new measure mode makes earlier readings meaningless.
    void reset() {
        hasReading = false;
        readingCount = 0;
    }
};

}  // namespace oscilane
