// The instrument named on the command line ("--connect lan:127.0.0.1",
// "usb:0", "serial:3") as the settings the Option dialog would have chosen,
// and the connection of the first window to it.
#pragma once

#include <QString>
#include <optional>

#include "device/link_settings.h"

namespace oscilane {

class InstrumentWindow;

// The settings, or none with the reason in *error.  A serial port must be one
// the library lists now; its place in that list is the device index.  For
// USB the instruments are listed first, as the Option dialog lists them:
// the library only opens a USB device its list has found.
std::optional<LinkSettings> settingsForConnectTarget(const QString& target, QString* error);

// Connects the window as connectTo does.  Every message the attempt shows is
// also written to standard error, before its box appears: an application
// started by a script, perhaps on a screen nobody sees, still says why.
bool connectNamedInstrument(InstrumentWindow& window, const LinkSettings& settings);

}  // namespace oscilane
