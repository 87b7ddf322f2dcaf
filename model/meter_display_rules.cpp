#include "model/meter_display_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/formatting.h"
#include "model/meter_tables.h"

namespace oscilane {
namespace {

constexpr std::array<std::string_view, 7> kScreenPrefixes{"p", "n", "\u03bc", "m", "k", "M", "G"};
constexpr std::array<std::string_view, 4> kScreenUnits{"V", "A", "\u03a9", "F"};
constexpr int32_t kMicroPrefix = 2;
// The capacitance table is in nanofarads.
constexpr double kFaradsPerNanofarad = 1e-9;

template <std::size_t N>
std::string_view entryOrEmpty(const std::array<std::string_view, N>& table, int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
    return table[static_cast<std::size_t>(index)];
}

int clampSteps(double steps) {
    return static_cast<int>(std::clamp(std::trunc(steps), 0.0, double{kBarSteps}));
}

// Capacitance scaled by decades into the bar's 60 steps.
int capacitanceSteps(double value) {
    constexpr std::array<std::pair<double, double>, 5> kDecades{
        {{60, 1}, {600, 0.1}, {6000, 0.01}, {60000, 0.001}, {600000, 0.0001}}};
    for (const auto& [limit, factor] : kDecades)
        if (value <= limit) return clampSteps(value * factor);
    return kBarSteps;
}

// The range of the auto-ranging plot for magnitude m: the first range above
// m, or the last one.
std::size_t autoRange(std::span<const MeterRange> table, double magnitude) {
    if (magnitude < table.front().fullScale) return 0;
    for (std::size_t i = 0; i + 1 < table.size(); ++i)
        if (table[i].fullScale <= magnitude && magnitude < table[i + 1].fullScale) return i + 1;
    return table.size() - 1;
}

}  // namespace

std::string ScreenUnitText(int32_t prefixIndex, int32_t unitIndex) {
    std::string text(entryOrEmpty(kScreenPrefixes, prefixIndex));
    text += entryOrEmpty(kScreenUnits, unitIndex);
    return text;
}

std::string DigitText(float value, bool overload, int32_t decimalScale) {
    if (overload) return "e";
    std::string text = FixedText(std::fabs(static_cast<double>(value)) + 0.0005, 6);
    std::size_t point = text.find('.');
    std::size_t kept = text.size();
    if (value == 0) {
        kept = 3;
    } else if (decimalScale == 0) {
        kept = 4;
    } else if (decimalScale == 1) {
        kept = 5;
    } else if ((decimalScale == 2 || decimalScale == 3) && point >= 1 && point <= 3) {
        kept = point + 1 + (decimalScale == 2 ? 2 : 1);
    }
    text.resize(std::min(kept, text.size()));
    return value < 0 ? "-" + text : text;
}

std::string RelReferenceText(const DmmInfo& record) {
    return DigitText(record.auxValue, false, record.auxC) +
           ScreenUnitText(record.auxA, record.auxB);
}

int BarSteps(const DmmInfo& record) {
    const auto mode = static_cast<MeasureMode>(record.measureMode);
    if (mode == MeasureMode::Capacitance) {
        double value = record.value;
        if (record.prefixIndex == kMicroPrefix) value *= 1000;
        return capacitanceSteps(value);
    }
    if (mode == MeasureMode::Voltage && record.manualRange != 0 && record.ac == 0)
        return clampSteps(static_cast<double>(record.value) * 0.075);
    return std::min<int>(record.barValue, kBarSteps);
}

std::string_view RangeStatusLabel(const DmmInfo& record) {
    if (static_cast<MeasureMode>(record.measureMode) == MeasureMode::Current &&
        record.milliamps == 0)
        return "10A";
    std::span<const MeterRange> table = RangesOf(record.measureMode);
    if (record.rangeIndex >= table.size()) return {};
    return table[record.rangeIndex].label;
}

std::optional<double> TrendBaseValue(const MeterReading& reading) {
    if (reading.overload != 0) return std::nullopt;
    return (static_cast<double>(reading.value) + 0.0005) *
           std::pow(10.0, PrefixExponent(reading.prefixIndex));
}

std::optional<TrendScale> TrendFullScale(const DmmInfo& record,
                                         std::span<const MeterReading> trend) {
    const auto mode = static_cast<MeasureMode>(record.measureMode);
    std::span<const MeterRange> table = RangesOf(record.measureMode);
    if (table.empty()) return std::nullopt;

    double magnitude = 0;
    for (const MeterReading& reading : trend)
        if (auto value = TrendBaseValue(reading))
            magnitude = std::max(magnitude, std::fabs(*value));
    const bool capacitance = mode == MeasureMode::Capacitance;
    if (capacitance) magnitude /= kFaradsPerNanofarad;

    const std::size_t last = table.size() - 1;
    std::size_t index = 0;
    if (mode == MeasureMode::Current) {
        if (record.milliamps == 0)
            index = 2;  // the A input's 10 A
        else if (record.manualRange != 0)
            index = std::min<std::size_t>(record.rangeIndex, last);
        else
            index = magnitude < table[0].fullScale ? 0 : 1;
    } else if (record.manualRange != 0) {
        index = std::min<std::size_t>(record.rangeIndex, last);
    } else {
        index = autoRange(table, magnitude);
    }
    const MeterRange& range = table[index];
    return TrendScale{capacitance ? range.fullScale * kFaradsPerNanofarad : range.fullScale,
                      range.label};
}

}  // namespace oscilane
