// The instrument named on the command line ("--connect lan:127.0.0.1",
// "usb:0", "serial:3") as the settings the Option dialog would have chosen.
#pragma once

#include <QString>
#include <optional>

#include "device/link_settings.h"

namespace oscilane {

// The settings, or none with the reason in *error.  A serial port must be one
// the library lists now; its place in that list is the device index.
std::optional<LinkSettings> settingsForConnectTarget(const QString& target, QString* error);

}  // namespace oscilane
