// The devices on the USB bus that have the instrument's endpoints, for the
// client's usb-scan: found through the same bus and ID list the access
// library's driver uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvo::usb {

struct ScannedDevice {
    std::string path;
    uint16_t vendor = 0;
    uint16_t product = 0;
    bool configured = false;  // its IDs are among those the driver opens
};

// Every device with the instrument's endpoint layout, or nothing when no
// USB bus can be reached.
std::optional<std::vector<ScannedDevice>> scanInstrumentDevices();

}  // namespace zelvo::usb
