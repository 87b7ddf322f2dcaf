#include "usb_scan.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

#include "zelvo/driver/bus.h"
#include "zelvo/driver/usb_ids.h"

namespace zelvo::cli {

int printUsbScan() {
    const auto bus = driver::makeBus();
    if (!bus) {
        std::fputs("zelvo: no USB bus can be reached\n", stderr);
        return kExitInstrumentFailed;
    }
    const std::vector<driver::UsbId> configured = driver::configuredUsbIds();
    int found = 0;
    for (const driver::BusDeviceInfo& d : bus->devices()) {
        if (!driver::hasInstrumentLayout(d)) continue;
        const bool listed = std::find(configured.begin(), configured.end(),
                                      driver::UsbId{d.vendor, d.product}) != configured.end();
        std::printf("%s %04x:%04x%s\n", d.path.c_str(), d.vendor, d.product,
                    listed ? " configured" : " (add to ZELVO_USB_IDS or usb-ids to use it)");
        ++found;
    }
    if (found == 0) std::puts("no USB device with the instrument's endpoints");
    return kExitSuccess;
}

void addUsbScanVerb(CLI::App& parser, VerbTable& verbs) {
    verbs.add(parser, "usb-scan",
              "List the USB devices that have the instrument's endpoints, with their IDs.",
              printUsbScan);
}

}  // namespace zelvo::cli
