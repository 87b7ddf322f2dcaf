// The meter's session on a window's connection: the meter data area, the
// worker pass that polls a reading after the queued commands, and the
// command table of the meter kinds 16 to 29.
#pragma once

#include "device/device_session.h"
#include "meter/meter_readings.h"

namespace oscilane {

class MeterSession final : public DeviceSession {
  public:
    DeviceFunction function() const override { return DeviceFunction::Meter; }
    void runPass(CDeviceLink& link, DeviceWorker& worker) override;
    // A failed setting is reported; a new measure mode resets the readings.
    void execute(DeviceHandle h, CommandKind kind, uint32_t argument) override;

    // Whoever holds the connection's event may touch it.
    MeterReadings& readings() { return readings_; }

  private:
    MeterReadings readings_;
};

}  // namespace oscilane
