#include "generator/generator_session.h"

#include "device/device_link.h"
#include "device/device_worker.h"

namespace oscilane {
namespace {

constexpr int kGeneratorStepMs = 10;

}  // namespace

void GeneratorSession::runPass(CDeviceLink& link, DeviceWorker& worker) {
    if (!link.isConnected()) {
        link.ClearQueue();
    } else if (link.event().tryTake()) {
        link.drainQueue();
        link.event().set();
    }
    worker.sleep(kGeneratorStepMs);
}

}  // namespace oscilane
