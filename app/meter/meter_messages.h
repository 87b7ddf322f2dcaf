// Every fixed text the meter window shows in a message box, spelled as users
// have always read them.
#pragma once

namespace oscilane::msg {

// Failed meter settings, in the order of MeterCommandKind.
inline constexpr const char* kMeterFailures[] = {
    "Can not set DMM measure mode!",  "Can not set DMM voltage AC/DC!",
    "Can not set DMM voltage Rel!",   "Can not set DMM voltage mode!",
    "Can not set DMM voltage range!", "Can not set DMM current ACDC!",
    "Can not set DMM current Rel!",   "Can not set DMM current Auto/Manual!",
    "Can not set DMM current range!", "Can not set DMM current A/mA!",
    "Can not set DMM ohm mode!",      "Can not set DMM ohm range!",
    "Can not set DMM ohm Rel!",       "Can not set DMM cap Rel!",
};

}  // namespace oscilane::msg
