// Which device path each port number ("com<n>") stands for.
//
// When any ZELVO_COM<n> variable is set (n = 0..255, for example
// ZELVO_COM3=/dev/pts/7), the map holds exactly those ports and nothing under
// /dev is looked at.  Otherwise the serial devices present are numbered from
// port 1 on: /dev/ttyS*, then /dev/ttyUSB*, then /dev/ttyACM*, each family in
// ascending device number.  The system's active console is never in the map:
// reconfiguring its line would break the machine's console.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo::link {

// Port number -> device path.
using SerialPortMap = std::map<uint8_t, std::string>;

// The ZELVO_COM<n> entries of an environment block ("NAME=VALUE" strings, null-terminated).
SerialPortMap portsFromEnvironment(const char* const* environment);

// The names (as under /dev) of serial device families, filtered and put in port order.
std::vector<std::string> orderedSerialDevices(std::vector<std::string> names);

// The device names listed in the kernel's active-console file ("tty0 ttyS0").
std::vector<std::string> consoleNames(std::string_view activeConsoleText);

// Numbers the devices from port 1 on, skipping the console names.
SerialPortMap numberDevices(const std::vector<std::string>& orderedNames,
                            const std::vector<std::string>& consoles);

// Drops the entries whose path is one of the given character devices.
SerialPortMap withoutDevices(SerialPortMap map, const std::set<dev_t>& devices);

// The map of this machine, built as described above.
SerialPortMap systemPortMap(const char* const* environment);

}  // namespace zelvo::link
