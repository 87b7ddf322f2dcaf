#include "meter/meter_session.h"

#include <chrono>
#include <iterator>

#include "device/device_link.h"
#include "device/device_worker.h"
#include "meter/meter_messages.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

constexpr int kMeterReadMs = 100;
// The model judges a record's age by the period of these polls.
static_assert(std::chrono::milliseconds(kMeterReadMs + pace::kIdleMs) == kMeterPollPeriod);

using MeterSetter = int (*)(DeviceHandle, uint8_t);
// By kind, from CommandKind::MeterMeasureMode on.
constexpr MeterSetter kMeterSetters[] = {
    DMMSetMeasureMode, DMMSetVoltACDC,   DMMSetVoltRel,     DMMSetVoltMode,     DMMSetVoltRange,
    DMMSetCurrentACDC, DMMSetCurrentRel, DMMSetCurrentMode, DMMSetCurrentRange, DMMSetCurrentAmA,
    DMMSetOHMMode,     DMMSetOHMRange,   DMMSetOHMRel,      DMMSetCapRel,
};
static_assert(std::size(kMeterSetters) == kind::kMeterKinds);
static_assert(std::size(msg::kMeterFailures) == kind::kMeterKinds);

}  // namespace

void MeterSession::runPass(CDeviceLink& link, DeviceWorker& worker) {
    if (!link.beginCycle(worker, false)) return;
    const DeviceHandle h = link.handle();
    if (data_.Poll([h](DmmInfo* record) { return DMMGetInfo(h, record); })) ++goodPolls_;
    link.event().set();
    if (worker.sleep(kMeterReadMs)) worker.sleep(pace::kIdleMs);
}

void MeterSession::execute(DeviceHandle h, CommandKind k, uint32_t argument) {
    if (!kind::inRow(k, CommandKind::MeterMeasureMode, kind::kMeterKinds)) return;
    const auto at = static_cast<std::size_t>(kind::placeInRow(k, CommandKind::MeterMeasureMode));
    if (kMeterSetters[at](h, static_cast<uint8_t>(argument)) != 0) {
        // The worker holds the event: the box is shown later, not waited for.
        postMessage(QString::fromLatin1(msg::kMeterFailures[at]));
        return;
    }
    if (k == CommandKind::MeterMeasureMode) data_.Reset();
}

}  // namespace oscilane
