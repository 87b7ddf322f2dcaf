// The generator's session on a window's connection: the waveform design the
// window edits (its data area) and the worker pass.  The generator's commands
// (generator_commands.h) are accepted and performed without reaching the
// instrument: the window designs waveforms and keeps them in files.
#pragma once

#include "device/device_session.h"
#include "model/generator_wave.h"

namespace oscilane {

class GeneratorSession final : public DeviceSession {
  public:
    DeviceFunction function() const override { return DeviceFunction::Generator; }
    void runPass(CDeviceLink& link, DeviceWorker& worker) override;
    void execute(DeviceHandle, QueuedCommand) override {}

    // Written and read on the GUI thread only: no generator command reaches
    // the instrument, so the worker never looks at it.
    GeneratorWave& wave() { return wave_; }
    const GeneratorWave& wave() const { return wave_; }

  private:
    GeneratorWave wave_;
};

}  // namespace oscilane
