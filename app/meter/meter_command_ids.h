// Commands of the meter window's frame and tool bar.
#pragma once

#include <array>

#include "model/meter_reading.h"

namespace oscilane::cmd {

inline constexpr int kMeterSave = 32808;
// The measure-mode commands, one per mode in the mode's order.
inline constexpr int kMeterVoltage = 32809;
inline constexpr int kMeterCurrent = 32810;
inline constexpr int kMeterOhm = 32811;
inline constexpr int kMeterDiode = 32812;
inline constexpr int kMeterContinuity = 32813;
inline constexpr int kMeterCapacitance = 32814;
inline constexpr int kMeterSideBarToggle = 32816;

struct MeterModeCommand {
    int id;
    MeasureMode mode;
};
inline constexpr std::array<MeterModeCommand, 6> kMeterModeCommands{{
    {kMeterVoltage, MeasureMode::Voltage},
    {kMeterCurrent, MeasureMode::Current},
    {kMeterOhm, MeasureMode::Resistance},
    {kMeterDiode, MeasureMode::Diode},
    {kMeterContinuity, MeasureMode::Continuity},
    {kMeterCapacitance, MeasureMode::Capacitance},
}};

}  // namespace oscilane::cmd
