// The 22 automatic measurements: what each is called on the display, what it
// shows when its channel is off, and its name and unit in the client's CSV.
#pragma once

#include <array>

namespace oscilane {

enum class MeasureKind : int {
    Vpp = 0,
    Vmax = 1,
    Vmin = 2,
    Vamp = 3,
    Vtop = 4,
    Vmid = 5,
    Vbase = 6,
    Vavg = 7,
    Vcrms = 8,
    Vrms = 9,
    PreShoot = 10,
    OverShoot = 11,
    Period = 12,
    Frequency = 13,
    RiseTime = 14,
    FallTime = 15,
    PosDuty = 16,
    NegDuty = 17,
    PosWidth = 18,
    NegWidth = 19,
    PosDelay = 20,
    NegDelay = 21,
};
inline constexpr int kMeasureKindCount = 22;
// The display holds this many measurements at once.
inline constexpr int kMeasureSlotCount = 8;

// Measured channels: CH1, CH2 and MATH.
inline constexpr int kMeasureChannelCount = 3;

namespace measuretext {

// The value of a result that cannot be determined.
inline constexpr const char* kNoValue = "*****";

// The unit of the kinds whose value is a plain fraction (duty cycles,
// overshoot); the display shows them in percent.
inline constexpr const char* kRatioUnit = "ratio";

struct KindText {
    const char* label;    // before the value, as drawn: "Vpp = "
    const char* invalid;  // the whole text while the channel is off
    const char* csvName;  // zelvo measure --csv
    const char* csvUnit;  // base SI unit, or kRatioUnit
};

inline constexpr std::array<KindText, kMeasureKindCount> kKinds = {{
    {"Vpp = ", "Vpp = *****", "vpp", "V"},
    {"Vmax = ", "Vmax = *****", "vmax", "V"},
    {"Vmin = ", "Vmin = *****", "vmin", "V"},
    {"Vamp = ", "Vamp = *****", "vamp", "V"},
    {"Vtop = ", "Vtop = *****", "vtop", "V"},
    {"Vmid = ", "Vmid = *****", "vmid", "V"},
    {"Vbase = ", "Vbase = *****", "vbase", "V"},
    {"Vavg = ", "Vavg = *****", "vavg", "V"},
    {"Vcrms = ", "Vcrms = *****", "vcrms", "V"},
    {"Vrms = ", "Vrms = *****", "vrms", "V"},
    {"Vpre = ", "Vpre = *****", "preshoot", kRatioUnit},
    {"Vover = ", "Vover = *****", "overshoot", kRatioUnit},
    {"Period = ", "Period = *****", "period", "s"},
    {"Frequ = ", "Frequ = *****", "frequency", "Hz"},
    {"RiseT ", "RiseT = *****", "rise_time", "s"},
    {"FallT ", "FallT = *****", "fall_time", "s"},
    {"+Duty = ", "+Duty = *****", "pos_duty", kRatioUnit},
    {"-Duty = ", "-Duty = *****", "neg_duty", kRatioUnit},
    {"+Width = ", "+Width = *****", "pos_width", "s"},
    {"-Width = ", "-Width = *****", "neg_width", "s"},
    {"+Delay1->2 = ", "+Delay1->2 = *****", "pos_delay", "s"},
    {"-Delay1->2 = ", "-Delay1->2 = *****", "neg_delay", "s"},
}};

// Before each slot's text, by the slot's channel; no space follows.
inline constexpr std::array<const char*, kMeasureChannelCount> kChannelPrefixes = {
    "CH1:", "CH2:", "MATH:"};
// Before the text of a slot that measures the overlaid saved trace.
inline constexpr const char* kOverlayPrefix = "OVL:";
// Rise and fall times: a measured value, or the bound when the edge is
// faster than one sample.
inline constexpr const char* kEquals = "= ";
inline constexpr const char* kBelow = "< ";

inline constexpr const char* kCsvHeader = "name,value,unit";

}  // namespace measuretext

inline const measuretext::KindText& kindText(MeasureKind kind) {
    return measuretext::kKinds[static_cast<std::size_t>(kind)];
}

inline bool IsMeasureKind(int value) { return value >= 0 && value < kMeasureKindCount; }

}  // namespace oscilane
