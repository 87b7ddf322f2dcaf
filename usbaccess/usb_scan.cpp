#include "zelvo/usb_scan.h"

#include <algorithm>

#include "zelvo/driver/bus.h"
#include "zelvo/driver/usb_ids.h"

namespace zelvo::usb {

std::optional<std::vector<ScannedDevice>> scanInstrumentDevices() {
    const auto bus = driver::makeBus();
    if (!bus) return std::nullopt;
    const std::vector<driver::UsbId> configured = driver::configuredUsbIds();
    std::vector<ScannedDevice> found;
    for (const driver::BusDeviceInfo& d : bus->devices()) {
        if (!driver::hasInstrumentLayout(d)) continue;
        const bool listed = std::find(configured.begin(), configured.end(),
                                      driver::UsbId{d.vendor, d.product}) != configured.end();
        found.push_back({d.path, d.vendor, d.product, listed});
    }
    return found;
}

}  // namespace zelvo::usb
