#include "zelvo/driver/driver.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <set>

#include "device.h"

namespace zelvo::driver {
namespace {

// How often a bus without plug events is listed to find arrivals and departures.
constexpr std::chrono::milliseconds kPollInterval{500};

}  // namespace

Driver& Driver::instance() {
    static Driver driver(makeBus(), configuredUsbIds());
    return driver;
}

Driver::Driver(std::unique_ptr<Bus> bus, std::vector<UsbId> ids)
    : bus_(std::move(bus)), ids_(std::move(ids)) {
    if (!bus_) return;
    // The bus's callback only queues; the plug thread does the work.
    const bool watching = bus_->watchPlugs([this](const BusDeviceInfo& info, PlugEvent e) {
        {
            std::lock_guard lock(plugMutex_);
            plugQueue_.push_back({info, e, ++plugEvents_});
        }
        plugWake_.notify_all();
    });
    plugThread_ = std::thread([this, watching] { plugLoop(!watching); });
}

Driver::~Driver() {
    {
        std::lock_guard lock(plugMutex_);
        stopPlugs_ = true;
    }
    plugWake_.notify_all();
    if (plugThread_.joinable()) plugThread_.join();
    std::map<std::string, Started> devices;
    {
        std::lock_guard lock(mutex_);
        devices = std::move(devices_);
        handles_.clear();
    }
    for (auto& [path, started] : devices) started.device->remove();
    devices.clear();
    // The bus goes last but before the members its callback touches.
    bus_.reset();
}

bool Driver::matches(const BusDeviceInfo& info) const {
    return std::find(ids_.begin(), ids_.end(), UsbId{info.vendor, info.product}) != ids_.end();
}

void Driver::arrived(const BusDeviceInfo& info) {
    if (!matches(info)) return;
    {
        std::lock_guard lock(mutex_);
        if (devices_.count(info.path) != 0) return;
    }
    const uint64_t eventsBefore = plugEvents_.load();
    std::shared_ptr<Device> d = Device::start(*bus_, info);
    if (!d) return;
    std::lock_guard lock(mutex_);
    devices_.emplace(info.path, Started{std::move(d), eventsBefore});
}

void Driver::left(const std::string& path, uint64_t event) {
    std::shared_ptr<Device> d;
    {
        std::lock_guard lock(mutex_);
        const auto it = devices_.find(path);
        if (it == devices_.end() || it->second.eventsBefore >= event) return;
        d = std::move(it->second.device);
        devices_.erase(it);
    }
    d->remove();
}

void Driver::reconcile(const std::vector<BusDeviceInfo>& present) {
    std::set<std::string> paths;
    for (const BusDeviceInfo& info : present) {
        paths.insert(info.path);
        arrived(info);
    }
    std::vector<std::string> gone;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [path, d] : devices_)
            if (paths.count(path) == 0) gone.push_back(path);
    }
    for (const std::string& path : gone) left(path, std::numeric_limits<uint64_t>::max());
}

std::vector<std::string> Driver::interfaces() {
    if (!bus_) return {};
    const std::vector<BusDeviceInfo> present = bus_->devices();
    reconcile(present);
    std::vector<std::string> out;
    std::lock_guard lock(mutex_);
    for (const BusDeviceInfo& info : present)
        if (devices_.count(info.path) != 0) out.push_back(info.path);
    return out;
}

void Driver::plugLoop(bool pollBus) {
    std::map<std::string, BusDeviceInfo> polled;
    if (pollBus)
        for (const BusDeviceInfo& info : bus_->devices()) polled[info.path] = info;
    std::unique_lock lock(plugMutex_);
    while (!stopPlugs_) {
        if (pollBus) {
            plugWake_.wait_for(lock, kPollInterval, [this] { return stopPlugs_; });
            if (stopPlugs_) break;
            lock.unlock();
            std::map<std::string, BusDeviceInfo> now;
            for (const BusDeviceInfo& info : bus_->devices()) now[info.path] = info;
            lock.lock();
            for (const auto& [path, info] : now)
                if (polled.count(path) == 0)
                    plugQueue_.push_back({info, PlugEvent::Arrived, ++plugEvents_});
            for (const auto& [path, info] : polled)
                if (now.count(path) == 0)
                    plugQueue_.push_back({info, PlugEvent::Left, ++plugEvents_});
            polled = std::move(now);
        } else {
            plugWake_.wait(lock, [this] { return stopPlugs_ || !plugQueue_.empty(); });
        }
        while (!stopPlugs_ && !plugQueue_.empty()) {
            const QueuedPlug plug = plugQueue_.front();
            plugQueue_.pop_front();
            if (!matches(plug.info)) continue;
            const auto listeners = listeners_;
            dispatching_ = true;
            lock.unlock();
            if (plug.event == PlugEvent::Arrived)
                arrived(plug.info);
            else
                left(plug.info.path, plug.number);
            for (const auto& [id, listener] : listeners) listener(plug.info.path, plug.event);
            lock.lock();
            dispatching_ = false;
            plugWake_.notify_all();
        }
    }
}

uint64_t Driver::subscribe(PlugListener listener) {
    std::lock_guard lock(plugMutex_);
    listeners_[++lastListener_] = std::move(listener);
    return lastListener_;
}

void Driver::unsubscribe(uint64_t id) {
    std::unique_lock lock(plugMutex_);
    listeners_.erase(id);
    // Once this returns the listener is never called again, unless it is
    // the listener itself that unsubscribes.
    if (std::this_thread::get_id() != plugThread_.get_id())
        plugWake_.wait(lock, [this] { return !dispatching_; });
}

zdev::Status Driver::open(const std::string& path, FileHandle& handle) {
    handle = kInvalidHandle;
    std::shared_ptr<Device> d;
    {
        std::lock_guard lock(mutex_);
        const auto it = devices_.find(path);
        if (it == devices_.end()) return zdev::Status::NoSuchDevice;
        d = it->second.device;
    }
    if (const zdev::Status s = d->open(); s != zdev::Status::Success) return s;
    std::lock_guard lock(mutex_);
    // Handles count up from 16 and are never reused while open.
    do {
        lastHandle_ = lastHandle_ == std::numeric_limits<FileHandle>::max() ? 16 : lastHandle_ + 1;
    } while (handles_.count(lastHandle_) != 0);
    handle = lastHandle_;
    handles_.emplace(handle, std::move(d));
    return zdev::Status::Success;
}

bool Driver::close(FileHandle handle) {
    std::shared_ptr<Device> d;
    {
        std::lock_guard lock(mutex_);
        const auto it = handles_.find(handle);
        if (it == handles_.end()) return false;
        d = std::move(it->second);
        handles_.erase(it);
    }
    d->close();
    return true;
}

zdev::Status Driver::deviceControl(FileHandle handle, uint32_t code, std::span<const uint8_t> in,
                                   std::span<uint8_t> out, uint32_t& returned) {
    returned = 0;
    std::shared_ptr<Device> d;
    {
        std::lock_guard lock(mutex_);
        const auto it = handles_.find(handle);
        if (it == handles_.end()) return zdev::Status::InvalidHandle;
        d = it->second;
    }
    if (code != zdev::kControlCode) return zdev::Status::InvalidParameter;
    return d->control(in, out, returned);
}

}  // namespace zelvo::driver
