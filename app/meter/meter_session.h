// The meter's session on a window's connection: the meter's data (records,
// trend and storage log, see model/meter_data.h), the worker pass that polls
// a record after the queued commands, and the command table of the meter's
// commands (meter_commands.h).
#pragma once

#include <atomic>
#include <cstdint>

#include "device/device_session.h"
#include "model/meter_data.h"

namespace oscilane {

class MeterSession final : public DeviceSession {
  public:
    DeviceFunction function() const override { return DeviceFunction::Meter; }
    void runPass(CDeviceLink& link, DeviceWorker& worker) override;
    // A failed setting is reported on the GUI thread; a new measure mode
    // empties the trend.
    void execute(DeviceHandle h, QueuedCommand command) override;

    // Every member of MeterData takes its own lock: any thread may use it.
    MeterData& data() { return data_; }
    const MeterData& data() const { return data_; }
    // Records decoded since the window opened; a test can wait for polls.
    uint32_t goodPolls() const { return goodPolls_.load(); }

  private:
    MeterData data_;
    std::atomic<uint32_t> goodPolls_{0};
};

}  // namespace oscilane
