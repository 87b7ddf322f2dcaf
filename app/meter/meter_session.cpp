#include "meter/meter_session.h"

#include <algorithm>
#include <chrono>
#include <iterator>

#include "device/device_link.h"
#include "device/device_worker.h"
#include "meter/meter_commands.h"
#include "meter/meter_messages.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

constexpr int kMeterReadMs = 100;
// The model judges a record's age by the period of these polls.
static_assert(std::chrono::milliseconds(kMeterReadMs + pace::kIdleMs) == kMeterPollPeriod);

using K = MeterCommandKind;
struct MeterSetter {
    MeterCommandKind kind;
    int (*set)(DeviceHandle, uint8_t);
};
// The library call of each meter command, in the order of its failure texts.
constexpr MeterSetter kMeterSetters[] = {
    {K::MeasureMode, DMMSetMeasureMode},
    {K::VoltAcDc, DMMSetVoltACDC},
    {K::VoltRel, DMMSetVoltRel},
    {K::VoltMode, DMMSetVoltMode},
    {K::VoltRange, DMMSetVoltRange},
    {K::CurrentAcDc, DMMSetCurrentACDC},
    {K::CurrentRel, DMMSetCurrentRel},
    {K::CurrentMode, DMMSetCurrentMode},
    {K::CurrentRange, DMMSetCurrentRange},
    {K::CurrentAmA, DMMSetCurrentAmA},
    {K::OhmMode, DMMSetOHMMode},
    {K::OhmRange, DMMSetOHMRange},
    {K::OhmRel, DMMSetOHMRel},
    {K::CapRel, DMMSetCapRel},
};
static_assert(std::size(msg::kMeterFailures) == std::size(kMeterSetters));

}  // namespace

void MeterSession::runPass(CDeviceLink& link, DeviceWorker& worker) {
    if (!link.beginCycle(worker, false)) return;
    const DeviceHandle h = link.handle();
    if (data_.Poll([h](DmmInfo* record) { return DMMGetInfo(h, record); })) ++goodPolls_;
    link.event().set();
    if (worker.sleep(kMeterReadMs)) worker.sleep(pace::kIdleMs);
}

void MeterSession::execute(DeviceHandle h, QueuedCommand c) {
    const auto k = static_cast<MeterCommandKind>(c.kind);
    const auto* setter = std::find_if(std::begin(kMeterSetters), std::end(kMeterSetters),
                                      [k](const MeterSetter& s) { return s.kind == k; });
    if (setter == std::end(kMeterSetters)) return;
    if (setter->set(h, static_cast<uint8_t>(c.argument)) != 0) {
        // The worker holds the event: the box is shown later, not waited for.
        const auto at = static_cast<std::size_t>(setter - std::begin(kMeterSetters));
        postMessage(QString::fromLatin1(msg::kMeterFailures[at]));
        return;
    }
    if (k == MeterCommandKind::MeasureMode) data_.Reset();
}

}  // namespace oscilane
