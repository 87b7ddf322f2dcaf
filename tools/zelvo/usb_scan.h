// zelvo usb-scan: lists the attached USB devices that have the instrument's
// endpoint layout, so a user can find the IDs to configure.
#pragma once

namespace zelvo::cli {

// Prints one line per such device; returns the exit status.
int printUsbScan();

}  // namespace zelvo::cli
