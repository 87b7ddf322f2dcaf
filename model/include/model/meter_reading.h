// One sampled meter reading and the local time stamp it carries.  Readings
// live only in memory: in the trend the display plots and in the storage
// buffers the log writer empties.
#pragma once

#include <cstdint>
#include <functional>

namespace oscilane {

// The measure modes the meter reports (DmmInfo::measureMode).  A reading may
// carry a number outside this list; the log writes such a mode as "CAP".
enum class MeasureMode : uint8_t {
    Voltage = 0,
    Current = 1,
    Resistance = 2,
    Diode = 3,
    Continuity = 4,
    Capacitance = 5,
};

// Local wall-clock time with milliseconds, field for field as the log writes it.
struct MeterTime {
    uint16_t year = 0;
    uint16_t month = 0;      // 1..12
    uint16_t dayOfWeek = 0;  // 0 Sunday
    uint16_t day = 0;        // 1..31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// Where time stamps come from; tests give a fixed or stepping clock.
using MeterClock = std::function<MeterTime()>;

// The local time of this moment.
MeterTime SystemLocalTime();

struct MeterReading {
    float value = 0;          // in units of the prefix
    uint8_t prefixIndex = 7;  // 0 p, 1 n, 2 u, 3 m, 4 k, 5 M, 6 G, 7 none
    uint8_t unitIndex = 0;    // 0 V, 1 A, 2 Ohm, 3 F
    MeterTime time;
    uint8_t overload = 0;
    uint8_t ac = 0;
    uint8_t measureMode = 0;
};

}  // namespace oscilane
