#include "model/meter_tables.h"

namespace oscilane {

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
