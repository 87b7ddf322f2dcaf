#include "libusb/libusb_bus.h"

#include <array>
#include <string>

namespace zelvo::driver::usb {
namespace {

TransferStatus statusOf(libusb_transfer_status s) {
    switch (s) {
        case LIBUSB_TRANSFER_COMPLETED:
            return TransferStatus::Completed;
        case LIBUSB_TRANSFER_CANCELLED:
        case LIBUSB_TRANSFER_TIMED_OUT:
            return TransferStatus::Cancelled;
        case LIBUSB_TRANSFER_STALL:
            return TransferStatus::Stalled;
        case LIBUSB_TRANSFER_NO_DEVICE:
            return TransferStatus::NoDevice;
        case LIBUSB_TRANSFER_OVERFLOW:
            return TransferStatus::Overflow;
        case LIBUSB_TRANSFER_ERROR:
            break;
    }
    return TransferStatus::Error;
}

std::string pathOf(libusb_device* device) {
    // Bus number and port chain name the socket the device sits in, so a
    // replugged instrument is found under the same path.
    std::array<uint8_t, 8> ports{};
    const int n = libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
    std::string path = "usb-" + std::to_string(libusb_get_bus_number(device));
    for (int i = 0; i < n; ++i) path += (i == 0 ? "-" : ".") + std::to_string(ports[i]);
    if (n <= 0) path += "-addr" + std::to_string(libusb_get_device_address(device));
    return path;
}

class LibusbDevice final : public BusDevice {
  public:
    LibusbDevice(libusb_device_handle* handle, int interfaceNumber)
        : handle_(handle), interface_(interfaceNumber) {}
    ~LibusbDevice() override {
        libusb_release_interface(handle_, interface_);
        libusb_close(handle_);
    }
    LibusbDevice(const LibusbDevice&) = delete;
    LibusbDevice& operator=(const LibusbDevice&) = delete;

    std::optional<TransferId> submit(TransferType type, uint8_t endpoint, std::span<uint8_t> buffer,
                                     Completion done) override {
        libusb_transfer* t = libusb_alloc_transfer(0);
        if (t == nullptr) return std::nullopt;
        const auto length = static_cast<int>(buffer.size());
        // No libusb time-out: the driver's watchdog decides when to give up.
        switch (type) {
            case TransferType::Control:
                libusb_fill_control_transfer(t, handle_, buffer.data(), &LibusbDevice::completed,
                                             this, 0);
                t->length = length;
                break;
            case TransferType::Bulk:
                libusb_fill_bulk_transfer(t, handle_, endpoint, buffer.data(), length,
                                          &LibusbDevice::completed, this, 0);
                break;
            case TransferType::Interrupt:
                libusb_fill_interrupt_transfer(t, handle_, endpoint, buffer.data(), length,
                                               &LibusbDevice::completed, this, 0);
                break;
        }
        std::lock_guard lock(mutex_);
        const TransferId id = ++lastId_;
        flights_[t] = {id, std::move(done)};
        if (libusb_submit_transfer(t) != 0) {
            flights_.erase(t);
            libusb_free_transfer(t);
            return std::nullopt;
        }
        return id;
    }

    void cancel(TransferId id) override {
        std::lock_guard lock(mutex_);
        for (const auto& [t, f] : flights_)
            if (f.id == id) libusb_cancel_transfer(t);
    }
    bool clearHalt(uint8_t endpoint) override { return libusb_clear_halt(handle_, endpoint) == 0; }
    bool resetDevice() override { return libusb_reset_device(handle_) == 0; }

  private:
    struct Flight {
        TransferId id;
        Completion done;
    };
    static void LIBUSB_CALL completed(libusb_transfer* t) {
        auto* self = static_cast<LibusbDevice*>(t->user_data);
        Completion done;
        {
            std::lock_guard lock(self->mutex_);
            const auto it = self->flights_.find(t);
            done = std::move(it->second.done);
            self->flights_.erase(it);
        }
        const auto actual = static_cast<std::size_t>(t->actual_length);
        const TransferStatus status = statusOf(t->status);
        // The transfer is freed only here, after libusb is done with it.
        libusb_free_transfer(t);
        done({status, actual});
    }

    libusb_device_handle* handle_;
    int interface_;
    std::mutex mutex_;
    TransferId lastId_ = 0;
    std::map<libusb_transfer*, Flight> flights_;
};

}  // namespace

std::optional<BusDeviceInfo> describe(libusb_device* device) {
    libusb_device_descriptor dd{};
    if (libusb_get_device_descriptor(device, &dd) != 0) return std::nullopt;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 &&
        libusb_get_config_descriptor(device, 0, &config) != 0)
        return std::nullopt;
    BusDeviceInfo info;
    info.path = pathOf(device);
    info.vendor = dd.idVendor;
    info.product = dd.idProduct;
    // The instrument's interface is the one holding bulk in 0x82; the first
    // interface stands in when none does.
    const auto holdsBulkIn = [](const libusb_interface_descriptor* alt) {
        for (uint8_t e = 0; e < alt->bNumEndpoints; ++e)
            if (alt->endpoint[e].bEndpointAddress == 0x82) return true;
        return false;
    };
    const libusb_interface_descriptor* chosen = nullptr;
    for (uint8_t i = 0; i < config->bNumInterfaces; ++i) {
        if (config->interface[i].num_altsetting < 1) continue;
        const libusb_interface_descriptor* alt = &config->interface[i].altsetting[0];
        if (chosen == nullptr || (holdsBulkIn(alt) && !holdsBulkIn(chosen))) chosen = alt;
    }
    if (chosen != nullptr) {
        info.interfaceNumber = chosen->bInterfaceNumber;
        for (uint8_t e = 0; e < chosen->bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor& ep = chosen->endpoint[e];
            const auto kind = ep.bmAttributes & 3u;
            if (kind != LIBUSB_TRANSFER_TYPE_BULK && kind != LIBUSB_TRANSFER_TYPE_INTERRUPT)
                continue;
            info.endpoints.push_back(
                {ep.bEndpointAddress,
                 kind == LIBUSB_TRANSFER_TYPE_BULK ? TransferType::Bulk : TransferType::Interrupt,
                 static_cast<uint16_t>(ep.wMaxPacketSize & 0x7FFu)});
        }
    }
    libusb_free_config_descriptor(config);
    return info;
}

std::unique_ptr<LibusbBus> LibusbBus::create() {
    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0) return nullptr;
    return std::unique_ptr<LibusbBus>(new LibusbBus(context));
}

LibusbBus::LibusbBus(libusb_context* context) : context_(context) {
    events_ = std::thread([this] {
        while (!stop_.load()) {
            timeval tv{0, 100000};
            libusb_handle_events_timeout_completed(context_, &tv, nullptr);
        }
    });
}

LibusbBus::~LibusbBus() {
    // libusb's order: transfers are done (the driver waited for them), the
    // devices are closed, hot-plug goes, the event thread stops, then exit.
    if (hotplugRegistered_) libusb_hotplug_deregister_callback(context_, hotplug_);
    stop_.store(true);
    events_.join();
    for (auto& [path, d] : known_) libusb_unref_device(d);
    libusb_exit(context_);
}

void LibusbBus::remember(libusb_device* device, const BusDeviceInfo& info) {
    std::lock_guard lock(mutex_);
    auto& slot = known_[info.path];
    if (slot == device) return;
    libusb_ref_device(device);
    if (slot != nullptr) libusb_unref_device(slot);
    slot = device;
}

void LibusbBus::forget(const std::string& path) {
    std::lock_guard lock(mutex_);
    const auto it = known_.find(path);
    if (it == known_.end()) return;
    libusb_unref_device(it->second);
    known_.erase(it);
}

std::vector<BusDeviceInfo> LibusbBus::devices() {
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(context_, &list);
    if (n < 0) return {};
    std::vector<BusDeviceInfo> out;
    for (ssize_t i = 0; i < n; ++i) {
        if (auto info = describe(list[i])) {
            remember(list[i], *info);
            out.push_back(std::move(*info));
        }
    }
    libusb_free_device_list(list, 1);
    return out;
}

std::unique_ptr<BusDevice> LibusbBus::open(const BusDeviceInfo& device) {
    libusb_device* d = nullptr;
    {
        std::lock_guard lock(mutex_);
        const auto it = known_.find(device.path);
        if (it == known_.end()) return nullptr;
        d = it->second;
    }
    libusb_device_handle* handle = nullptr;
    if (libusb_open(d, &handle) != 0) return nullptr;
    libusb_set_auto_detach_kernel_driver(handle, 1);
    if (libusb_claim_interface(handle, device.interfaceNumber) != 0) {
        libusb_close(handle);
        return nullptr;
    }
    return std::make_unique<LibusbDevice>(handle, device.interfaceNumber);
}

int LIBUSB_CALL LibusbBus::onPlug(libusb_context*, libusb_device* device,
                                  libusb_hotplug_event event, void* self) {
    auto* bus = static_cast<LibusbBus*>(self);
    const bool arrived = event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED;
    // A departed device can no longer be described; its path and IDs suffice.
    BusDeviceInfo info;
    if (auto described = arrived ? describe(device) : std::nullopt) {
        info = std::move(*described);
    } else {
        info.path = pathOf(device);
        libusb_device_descriptor dd{};
        if (libusb_get_device_descriptor(device, &dd) == 0) {
            info.vendor = dd.idVendor;
            info.product = dd.idProduct;
        }
    }
    if (arrived)
        bus->remember(device, info);
    else
        bus->forget(info.path);
    PlugHandler handler;
    {
        std::lock_guard lock(bus->mutex_);
        handler = bus->handler_;
    }
    if (handler) handler(info, arrived ? PlugEvent::Arrived : PlugEvent::Left);
    return 0;
}

bool LibusbBus::watchPlugs(PlugHandler handler) {
    if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) return false;
    {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
    }
    const int r = libusb_hotplug_register_callback(
        context_,
        static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED |
                                          LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
        static_cast<libusb_hotplug_flag>(0), LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
        LIBUSB_HOTPLUG_MATCH_ANY, &LibusbBus::onPlug, this, &hotplug_);
    hotplugRegistered_ = r == LIBUSB_SUCCESS;
    return hotplugRegistered_;
}

}  // namespace zelvo::driver::usb
