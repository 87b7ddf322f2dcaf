// The instrument's USB driver as the access library sees it: a list of
// matching devices named by stable paths, handles opened on them, and the
// one device control code that carries command records.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "zelvo/driver/bus.h"
#include "zelvo/driver/usb_ids.h"
#include "zelvo/zdev_record.h"

namespace zelvo::driver {

class Device;

// A handle on an opened device; the driver never issues one below 16, so
// it cannot be mistaken for a device index.
using FileHandle = int32_t;
inline constexpr FileHandle kInvalidHandle = -1;

class Driver {
  public:
    // The process-wide driver over makeBus(), with the configured IDs.
    static Driver& instance();

    Driver(std::unique_ptr<Bus> bus, std::vector<UsbId> ids);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // False when no bus could be started: nothing can be enumerated.
    bool available() const { return bus_ != nullptr; }
    // Paths of the present, started, matching devices, in bus order.
    std::vector<std::string> interfaces();

    zdev::Status open(const std::string& path, FileHandle& handle);
    // False when handle is not open.
    bool close(FileHandle handle);
    // Executes the command record in on the handle's device; out receives
    // the completed record and returned its size.
    zdev::Status deviceControl(FileHandle handle, uint32_t code, std::span<const uint8_t> in,
                               std::span<uint8_t> out, uint32_t& returned);

    // Arrivals and departures of matching devices, delivered on the driver's
    // plug thread.  Returns an id for unsubscribe().
    using PlugListener = std::function<void(const std::string& path, PlugEvent)>;
    uint64_t subscribe(PlugListener listener);
    void unsubscribe(uint64_t id);

  private:
    bool matches(const BusDeviceInfo& info) const;
    void arrived(const BusDeviceInfo& info);
    // Removes the device at path unless it was started after event number
    // `event` was queued: a late departure must not remove an arrival that
    // enumeration has already seen.
    void left(const std::string& path, uint64_t event);
    void plugLoop(bool pollBus);
    void reconcile(const std::vector<BusDeviceInfo>& present);

    std::unique_ptr<Bus> bus_;
    const std::vector<UsbId> ids_;

    std::mutex mutex_;
    struct Started {
        std::shared_ptr<Device> device;
        uint64_t eventsBefore;  // plug events queued before it started
    };
    std::map<std::string, Started> devices_;  // by path
    std::map<FileHandle, std::shared_ptr<Device>> handles_;
    FileHandle lastHandle_ = 15;

    std::mutex plugMutex_;
    std::condition_variable plugWake_;
    struct QueuedPlug {
        BusDeviceInfo info;
        PlugEvent event;
        uint64_t number;
    };
    std::deque<QueuedPlug> plugQueue_;
    std::atomic<uint64_t> plugEvents_{0};
    std::map<uint64_t, PlugListener> listeners_;
    uint64_t lastListener_ = 0;
    bool stopPlugs_ = false;
    bool dispatching_ = false;  // listeners are being called
    std::thread plugThread_;
};

}  // namespace zelvo::driver
