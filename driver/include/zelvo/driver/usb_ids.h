// Which USB devices the driver takes as instruments: a vendor:product list
// from the ZELVO_USB_IDS environment variable and the configuration files,
// and the endpoint layout every instrument has.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "zelvo/driver/bus.h"

namespace zelvo::driver {

struct UsbId {
    uint16_t vendor;
    uint16_t product;
    bool operator==(const UsbId&) const = default;
};

// Reads "vvvv:pppp" hexadecimal pairs separated by white space or commas;
// '#' starts a comment that runs to the end of the line.  Malformed entries
// are skipped.
std::vector<UsbId> parseUsbIds(std::string_view text);

// ZELVO_USB_IDS, then $XDG_CONFIG_HOME/zelvo/usb-ids (or ~/.config/zelvo/usb-ids),
// then /etc/zelvo/usb-ids; all of them together.
std::vector<UsbId> configuredUsbIds();

// Interrupt in 0x81, bulk in 0x82, bulk out 0x02 and bulk out 0x01.
bool hasInstrumentLayout(const BusDeviceInfo& info);

}  // namespace zelvo::driver
