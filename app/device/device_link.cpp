#include "device/device_link.h"

#include <algorithm>

#include "device/device_messages.h"
#include "device/device_probe.h"
#include "device/device_tables.h"
#include "device/device_worker.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

// The worker's pause when it has nothing to do, or after a failed link check.
constexpr int kIdleMs = 150;
constexpr int kSettleMs = 50;
constexpr int kMeterReadMs = 100;
constexpr int kGeneratorStepMs = 10;
// How much of the automatic interval the two closing sleeps of a cycle make up for.
constexpr int kIntervalAllowanceMs = 40;

void say(const char* text) { showMessage(QString::fromUtf8(text)); }

}  // namespace

std::array<int, 3> scopeCycleSleepsMs(uint16_t updateMode, uint16_t intervalIndex) {
    const int first =
        updateMode == kUpdateAutomatic ? updateIntervalMs(intervalIndex) - kIntervalAllowanceMs : 0;
    return {first, kSettleMs, kIdleMs};
}

CDeviceLink::CDeviceLink() = default;

CDeviceLink::~CDeviceLink() { endWorker(); }

LinkSettings CDeviceLink::settings() const {
    std::lock_guard lock(settingsMutex_);
    return settings_;
}

void CDeviceLink::applySettings(const LinkSettings& settings) {
    std::lock_guard lock(settingsMutex_);
    if (connected_.load()) {
        settings_.updateMode = settings.updateMode;
        settings_.intervalIndex = settings.intervalIndex;
        return;
    }
    settings_ = settings;
}

DeviceHandle CDeviceLink::handle() const {
    std::lock_guard lock(settingsMutex_);
    return deviceHandle(settings_);
}

void CDeviceLink::startWorker(DeviceFunction function) {
    setFunction(function);
    if (!worker_) worker_ = std::make_unique<DeviceWorker>([this](DeviceWorker& w) { runPass(w); });
}

void CDeviceLink::endWorker() {
    Disconnect();
    worker_.reset();
}

int CDeviceLink::Connect(DeviceFunction function) {
    const LinkSettings s = settings();
    DeviceTables& tables = DeviceTables::instance();
    if (connected_.load() || tables.isConnected(s.transport, s.deviceIndex)) {
        say(msg::kDeviceAlreadyConnected);
        return 0;
    }
    if (!openLink(s)) {
        say(msg::kCannotConnect);
        return 0;
    }
    if (!tables.claim(s.transport, s.deviceIndex)) {
        // Only an index outside the tables gets here: nothing may hold it.
        closeLink(s);
        say(msg::kCannotConnect);
        return 0;
    }
    connected_.store(true);
    uploadRequested_.store(true);
    linkLost_.store(false);
    ClearQueue();
    const DeviceHandle h = deviceHandle(s);
    KwChangeFunction(h, static_cast<uint8_t>(function));
    if (!worker_) {
        say(msg::kCannotResumeThread);
        return 1;
    }
    worker_->resume();
    return 1;
}

int CDeviceLink::Disconnect() {
    if (!connected_.load()) return 0;
    const LinkSettings s = settings();
    const DeviceHandle h = deviceHandle(s);
    // The worker is parked before the link closes, so no exchange loses its
    // port halfway.  A serial upload takes minutes at low baud rates: it is
    // asked to stop before its next reply instead of being waited for.
    if (worker_) {
        if (s.transport == transport::kSerial)
            worker_->park([h] { KwCancelBlockRead(h); });
        else
            worker_->park();
    }
    connected_.store(false);
    DeviceTables::instance().release(s.transport, s.deviceIndex);
    closeLink(s);
    return 1;
}

int CDeviceLink::CheckLink() {
    const DeviceHandle h = handle();
    switch (settings().transport) {
        case transport::kUsb: return KwUSBCheckConnect(h) == 0 ? 1 : 0;
        case transport::kSerial:
        case transport::kLan: return KwCheckComOK(h) == 0 ? 1 : 0;
        default: return 0;
    }
}

int CDeviceLink::uploadPercent() const {
    uint32_t received = 0;
    uint32_t total = 0;
    if (!connected_.load() || KwGetBlockProgress(handle(), &received, &total) != 0 || total == 0)
        return 0;
    // A reply longer than the block announced must not push the bar past its end.
    const uint64_t percent = uint64_t{std::min(received, total)} * 100 / total;
    return static_cast<int>(percent);
}

void CDeviceLink::Post(int kind, int32_t argument) {
    queue_.push({static_cast<uint32_t>(kind), static_cast<uint32_t>(argument)});
}

void CDeviceLink::UploadScope() {
    const LinkSettings s = settings();
    const DeviceHandle h = deviceHandle(s);
    if (s.transport == transport::kSerial) slowUpload_.store(true);
    if (DSOUploadSetting(h, scopeData_.uploadedBlock.data()) == 0 && scopeData_.tdcReadEnable == 1)
        KwReadTDC(h, &scopeData_.tdcReadValues[0], &scopeData_.tdcReadValues[1]);
    slowUpload_.store(false);
}

void CDeviceLink::drainQueue() {
    for (QueuedCommand c = Pop(); !c.empty(); c = Pop()) Execute(c.kind, c.argument);
}

void CDeviceLink::runPass(DeviceWorker& worker) {
    switch (function()) {
        case DeviceFunction::Scope: scopePass(worker); break;
        case DeviceFunction::Meter: meterPass(worker); break;
        case DeviceFunction::Generator: generatorPass(worker); break;
    }
}

bool CDeviceLink::beginCycle(DeviceWorker& worker, bool settleAfterLinkLoss) {
    if (!connected_.load()) {
        // Commands posted while disconnected are thrown away.
        ClearQueue();
        worker.sleep(kIdleMs);
        return false;
    }
    if (!event_.tryTake()) {
        worker.sleep(kIdleMs);
        return false;
    }
    if (!CheckLink()) {
        linkLost_.store(true);
        ClearQueue();
        event_.set();
        if (!settleAfterLinkLoss || worker.sleep(kSettleMs)) worker.sleep(kIdleMs);
        return false;
    }
    linkLost_.store(false);
    drainQueue();
    return true;
}

void CDeviceLink::scopePass(DeviceWorker& worker) {
    if (!beginCycle(worker, true)) return;
    const LinkSettings s = settings();
    // Taken before the upload, so a request made while it runs gets one of its own.
    const bool requested = uploadRequested_.exchange(false);
    if (s.updateMode == kUpdateAutomatic || requested) {
        UploadScope();
        newData_.store(true);
    }
    event_.set();
    for (int ms : scopeCycleSleepsMs(s.updateMode, s.intervalIndex))
        if (ms > 0 && !worker.sleep(ms)) return;
}

void CDeviceLink::meterPass(DeviceWorker& worker) {
    if (!beginCycle(worker, false)) return;
    DmmInfo reading{};
    if (DMMGetInfo(handle(), &reading) == 0) {
        meterReadings_.last = reading;
        meterReadings_.hasReading = true;
        ++meterReadings_.readingCount;
    }
    event_.set();
    if (worker.sleep(kMeterReadMs)) worker.sleep(kIdleMs);
}

void CDeviceLink::generatorPass(DeviceWorker& worker) {
    if (!connected_.load()) {
        ClearQueue();
    } else if (event_.tryTake()) {
        drainQueue();
        event_.set();
    }
    worker.sleep(kGeneratorStepMs);
}

}  // namespace oscilane
