// The bus of real devices through libusb-1.0: asynchronous transfers with
// one event thread, hot-plug callbacks where the platform has them.
#pragma once

#include <libusb.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "zelvo/driver/bus.h"

namespace zelvo::driver::usb {

class LibusbBus final : public Bus {
  public:
    // None when libusb cannot start (no USB file system, for example).
    static std::unique_ptr<LibusbBus> create();
    ~LibusbBus() override;
    LibusbBus(const LibusbBus&) = delete;
    LibusbBus& operator=(const LibusbBus&) = delete;

    std::vector<BusDeviceInfo> devices() override;
    std::unique_ptr<BusDevice> open(const BusDeviceInfo& device) override;
    bool watchPlugs(PlugHandler handler) override;

  private:
    explicit LibusbBus(libusb_context* context);
    static int LIBUSB_CALL onPlug(libusb_context*, libusb_device* device,
                                  libusb_hotplug_event event, void* self);
    void remember(libusb_device* device, const BusDeviceInfo& info);
    void forget(const std::string& path);

    libusb_context* context_;
    std::atomic<bool> stop_{false};
    std::thread events_;
    std::mutex mutex_;
    PlugHandler handler_;
    bool hotplugRegistered_ = false;
    libusb_hotplug_callback_handle hotplug_{};
    // Devices seen last, by path, each holding a reference.
    std::map<std::string, libusb_device*> known_;
};

// The path, IDs and endpoints of a device; none without a configuration.
std::optional<BusDeviceInfo> describe(libusb_device* device);

}  // namespace zelvo::driver::usb
