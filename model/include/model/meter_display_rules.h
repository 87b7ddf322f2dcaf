// What the meter display shows, as text and numbers: the seven-segment
// digits, the unit, the 60-step bar, the range label and the trend's full
// scale.  The window only draws them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/meter_reading.h"
#include "zelvo/zelvo_common.h"

namespace oscilane {

// Steps of the analog bar.
inline constexpr int kBarSteps = 60;

// The prefix and unit as the screen shows them ("k\u03a9", "\u03bcF"); either
// part is empty for an index outside its table.
std::string ScreenUnitText(int32_t prefixIndex, int32_t unitIndex);

// The digits of a reading: "e" for an overload, "0.0" for zero, else the
// magnitude with as many decimals as the decimal scale gives (0: four
// characters, 1: three decimals, 2: two, 3: one), led by "-" when negative.
// Scales outside 0..3 show the full six-decimal print.
std::string DigitText(float value, bool overload, int32_t decimalScale);

// The REL reference value: the auxiliary value by the digit rule with
// auxiliary byte C as its scale, then the screen unit of bytes A and B.
std::string RelReferenceText(const DmmInfo& record);

// How many of the bar's steps are filled, 0..60.  The meter's own bar value,
// except in capacitance mode (the value scaled into 0..60 by decades, 150 nF
// giving 15) and for DC voltage in manual range (value times 0.075).
int BarSteps(const DmmInfo& record);

// The status text of the reported range: the label of the range index in
// the mode's table, "10A" on the A input; empty outside the table.
std::string_view RangeStatusLabel(const DmmInfo& record);

// A trend reading in base units (V, A, Ohm, F); nothing for an overload.
std::optional<double> TrendBaseValue(const MeterReading& reading);

struct TrendScale {
    double fullScale;        // base units, farads for capacitance
    std::string_view label;  // the top label; the bottom one is "-" and it
};

// The trend plot's full scale for the record's mode: the reported range in
// manual range, else the range that holds the trend's largest magnitude.
// Nothing for a mode without a range table.
std::optional<TrendScale> TrendFullScale(const DmmInfo& record,
                                         std::span<const MeterReading> trend);

}  // namespace oscilane
