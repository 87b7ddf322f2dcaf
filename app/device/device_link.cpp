#include "device/device_link.h"

#include "device/device_messages.h"
#include "device/device_probe.h"
#include "device/device_tables.h"
#include "device/device_worker.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

void say(const char* text) { showMessage(QString::fromUtf8(text)); }

}  // namespace

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

void CDeviceLink::setSession(std::unique_ptr<DeviceSession> session) {
    // The worker runs the session's pass: it is replaced only while none runs.
    if (!worker_) session_ = std::move(session);
}

std::optional<DeviceFunction> CDeviceLink::function() const {
    if (!session_) return std::nullopt;
    return session_->function();
}

void CDeviceLink::startWorker() {
    if (!worker_) worker_ = std::make_unique<DeviceWorker>([this](DeviceWorker& w) { runPass(w); });
}

void CDeviceLink::endWorker() {
    Disconnect();
    worker_.reset();
}

int CDeviceLink::Connect() {
    if (connected_.load()) {
        say(msg::kDeviceAlreadyConnected);
        return 0;
    }
    const std::optional<LinkSettings> opened = openClaimed(settings());
    if (!opened) return 0;
    const LinkSettings& s = *opened;
    connected_.store(true);
    linkLost_.store(false);
    ClearQueue();
    if (session_) {
        session_->connected();
        KwChangeFunction(deviceHandle(s), static_cast<uint8_t>(session_->function()));
    }
    if (!worker_) {
        say(msg::kCannotResumeThread);
        return 1;
    }
    worker_->resume();
    return 1;
}
std::optional<LinkSettings> CDeviceLink::openClaimed(LinkSettings s) {
    DeviceTables& tables = DeviceTables::instance();
    if (s.transport == Transport::Lan) {
        // Each LAN window takes a slot of its own for as long as it is connected.
        const LanClaim claim = tables.claimLanSlot(s.lanAddress);
        if (!claim.slot) {
            say(claim.sameAddress ? msg::kDeviceAlreadyConnected : msg::kCannotConnect);
            return std::nullopt;
        }
        s.deviceIndex = *claim.slot;
        if (!openLink(s)) {
            tables.release(s.transport, s.deviceIndex);
            say(msg::kCannotConnect);
            return std::nullopt;
        }
        tables.describe(s.transport, s.deviceIndex, deviceName(s.deviceInfo),
                        serialNumber(s.deviceInfo), s.lanAddress);
        std::lock_guard lock(settingsMutex_);
        settings_.deviceIndex = s.deviceIndex;
        return s;
    }
    if (tables.isConnected(s.transport, s.deviceIndex)) {
        say(msg::kDeviceAlreadyConnected);
        return std::nullopt;
    }
    if (!openLink(s)) {
        say(msg::kCannotConnect);
        return std::nullopt;
    }
    if (!tables.claim(s.transport, s.deviceIndex)) {
        // Only an index outside the tables gets here: nothing may hold it.
        closeLink(s);
        say(msg::kCannotConnect);
        return std::nullopt;
    }
    return s;
}

int CDeviceLink::Disconnect() {
    if (!connected_.load()) return 0;
    const LinkSettings s = settings();
    const DeviceHandle h = deviceHandle(s);
    // The worker is parked before the link closes, so no exchange loses its
    // port halfway.  An exchange may wait long for a silent instrument (a USB
    // transfer its time-out, a serial upload minutes at low baud rates): it
    // is ended instead of waited for, again at every poll of the park.
    if (worker_) worker_->park([h] { KwAbortExchange(h); });
    connected_.store(false);
    // The parked worker checks the link no more: a loss it saw must not
    // outlive the connection, or the window would keep saying so.
    linkLost_.store(false);
    DeviceTables::instance().release(s.transport, s.deviceIndex);
    closeLink(s);
    return 1;
}

int CDeviceLink::CheckLink() {
    const DeviceHandle h = handle();
    switch (settings().transport) {
        case Transport::Usb:
            // Being on the bus is not answering: an instrument that hangs
            // stays enumerated, so it is asked as the other links ask it.
            return KwUSBCheckConnect(h) == 0 && KwCheckComOK(h) == 0 ? 1 : 0;
        case Transport::Serial:
        case Transport::Lan:
            return KwCheckComOK(h) == 0 ? 1 : 0;
        default:
            return 0;
    }
}

void CDeviceLink::Post(QueuedCommand command) { queue_.push(command); }

void CDeviceLink::Execute(QueuedCommand command) {
    if (command.kind == kChangeFunctionCommand) {
        KwChangeFunction(handle(), static_cast<uint8_t>(command.argument));
        return;
    }
    if (session_) session_->execute(handle(), command);
}

void CDeviceLink::drainQueue() {
    for (QueuedCommand c = Pop(); !c.empty(); c = Pop()) Execute(c);
}

void CDeviceLink::runPass(DeviceWorker& worker) {
    if (session_)
        session_->runPass(*this, worker);
    else
        worker.sleep(pace::kIdleMs);
}

bool CDeviceLink::beginCycle(DeviceWorker& worker, bool settleAfterLinkLoss) {
    if (!connected_.load()) {
        // Commands posted while disconnected are thrown away.
        ClearQueue();
        worker.sleep(pace::kIdleMs);
        return false;
    }
    if (!event_.tryTake()) {
        worker.sleep(pace::kIdleMs);
        return false;
    }
    if (!CheckLink()) {
        linkLost_.store(true);
        ClearQueue();
        event_.set();
        if (!settleAfterLinkLoss || worker.sleep(pace::kSettleMs)) worker.sleep(pace::kIdleMs);
        return false;
    }
    linkLost_.store(false);
    drainQueue();
    return true;
}

}  // namespace oscilane
