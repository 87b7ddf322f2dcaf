#include "usb_scan.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "zelvo/usb_scan.h"

namespace zelvo::cli {

int printUsbScan() {
    const auto devices = usb::scanInstrumentDevices();
    if (!devices) {
        std::fputs("zelvo: no USB bus can be reached\n", stderr);
        return kExitInstrumentFailed;
    }
    for (const usb::ScannedDevice& d : *devices)
        std::printf("%s %04x:%04x%s\n", d.path.c_str(), d.vendor, d.product,
                    d.configured ? " configured" : " (add to ZELVO_USB_IDS or usb-ids to use it)");
    if (devices->empty()) std::puts("no USB device with the instrument's endpoints");
    return kExitSuccess;
}

void addUsbScanVerb(CLI::App& parser, VerbTable& verbs) {
    verbs.add(parser, "usb-scan",
              "List the USB devices that have the instrument's endpoints, with their IDs.",
              printUsbScan);
}

}  // namespace zelvo::cli
