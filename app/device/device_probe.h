// Opening, closing and identifying one instrument, as Connect and the Option
// dialog's device test both do it.  GUI thread only, and never on a link a
// running worker uses.
#pragma once

#include "device/link_settings.h"

namespace oscilane {

// Opens the link of the settings (a USB device is only checked): true on success.
bool openLink(const LinkSettings& settings);
// Closes what openLink opened; USB has nothing to close.
void closeLink(const LinkSettings& settings);
// Reads the device information; on failure tells the user and leaves *info alone.
bool readDeviceInfo(DeviceHandle handle, DeviceInfo* info);
// Tests the chosen instrument: opens it, reads its identity into the settings
// and its table entry, and closes it again.  Refuses (telling the user) an
// instrument another window holds, whose library slot must not be reopened.
bool testDevice(LinkSettings& settings);

}  // namespace oscilane
