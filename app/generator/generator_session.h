// The generator's session on a window's connection.  Generator commands
// 32 to 35 are accepted and performed without reaching the instrument: the
// window designs waveforms and keeps them in files.
#pragma once

#include "device/device_session.h"

namespace oscilane {

class GeneratorSession final : public DeviceSession {
  public:
    DeviceFunction function() const override { return DeviceFunction::Generator; }
    void runPass(CDeviceLink& link, DeviceWorker& worker) override;
    void execute(DeviceHandle, CommandKind, uint32_t) override {}
};

}  // namespace oscilane
