// The meter's fixed tables: the full scales and labels of each measure's
// ranges, in the order of the range index the meter reports, and the record
// durations a user picks from with their sampling intervals.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/meter_reading.h"

namespace oscilane {

struct MeterRange {
    double fullScale;        // volts, amperes, ohms, or nanofarads for capacitance
    std::string_view label;  // UTF-8
};

inline constexpr std::array<MeterRange, 6> kVoltageRanges{{
    {0.06, "60.00mV"},
    {0.6, "600.0mV"},
    {6, "6.000V"},
    {60, "60.00V"},
    {600, "600.0V"},
    {6000, "6.000KV"},
}};

inline constexpr std::array<MeterRange, 3> kCurrentRanges{{
    {0.06, "60.00mA"},
    {0.6, "600.0mA"},
    {10, "10.00A"},
}};

inline constexpr std::array<MeterRange, 6> kResistanceRanges{{
    {600, "600.0\u03a9"},
    {6000, "6.000K\u03a9"},
    {60000, "60.00K\u03a9"},
    {600000, "600.0K\u03a9"},
    {6000000, "6.000M\u03a9"},
    {60000000, "60.00M\u03a9"},
}};

inline constexpr std::array<MeterRange, 6> kCapacitanceRanges{{
    {40, "40.00nF"},
    {400, "400.0nF"},
    {4000, "4.000\u03bcF"},
    {40000, "40.00\u03bcF"},
    {400000, "400.0\u03bcF"},
    {4000000, "4.000F"},
}};

// The range table of a measure mode: voltage and diode share the voltage
// table, resistance and continuity the resistance table.  Empty for a mode
// the meter does not define.
std::span<const MeterRange> RangesOf(uint8_t measureMode);

// How long the trend's 1200 readings should span, and the sampling interval
// that gives it.  The last three rows sample ten times slower than their
// label says, so there 1200 readings cover ten times the labelled duration.
struct RecordDuration {
    std::string_view label;
    int intervalMs;
};

inline constexpr std::array<RecordDuration, 11> kRecordDurations{{
    {"4 min", 200},
    {"8 min", 400},
    {"12 min", 600},
    {"20 min", 1000},
    {"40 min", 2000},
    {"1 hr", 3000},
    {"2 hr", 6000},
    {"4 hr", 12000},
    {"8 hr", 240000},
    {"12 hr", 360000},
    {"1 day", 720000},
}};

// The power of ten of a prefix index (0 p .. 6 G); 0 for none or unknown.
int PrefixExponent(int32_t prefixIndex);

// Readings the trend holds; the oldest goes when a new one arrives.
inline constexpr std::size_t kTrendCapacity = 1200;

}  // namespace oscilane
