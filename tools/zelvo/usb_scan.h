// zelvo usb-scan: lists the attached USB devices that have the instrument's
// endpoint layout, so a user can find the IDs to configure.
#pragma once

#include "verbs.h"

namespace zelvo::cli {

// Prints one line per such device; returns the exit status.
int printUsbScan();
void addUsbScanVerb(CLI::App& parser, VerbTable& verbs);

}  // namespace zelvo::cli
