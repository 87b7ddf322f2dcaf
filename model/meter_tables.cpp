#include "model/meter_tables.h"

namespace oscilane {

int PrefixExponent(int32_t prefixIndex) {
    constexpr std::array<int, 7> kExponents{-12, -9, -6, -3, 3, 6, 9};
    if (prefixIndex < 0 || static_cast<std::size_t>(prefixIndex) >= kExponents.size()) return 0;
    return kExponents[static_cast<std::size_t>(prefixIndex)];
}

std::span<const MeterRange> RangesOf(uint8_t measureMode) {
    switch (static_cast<MeasureMode>(measureMode)) {
        case MeasureMode::Voltage:
        case MeasureMode::Diode:
            return kVoltageRanges;
        case MeasureMode::Current:
            return kCurrentRanges;
        case MeasureMode::Resistance:
        case MeasureMode::Continuity:
            return kResistanceRanges;
        case MeasureMode::Capacitance:
            return kCapacitanceRanges;
    }
    return {};
}

}  // namespace oscilane
