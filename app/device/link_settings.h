// What a window's user chooses for its connection: transport, device, port,
// baud rate, address and the scope's update mode and interval, with the
// values derived from them.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "zelvo/ZelvoDLL.h"
#include "zelvo/serial_tables.h"

namespace oscilane {

// Which instrument function a window drives; chooses the worker's command table.
enum class DeviceFunction : uint32_t { Scope = 0, Meter = 1, Generator = 2 };

// How a window reaches its instrument.  The numbers are the library's link
// kinds; they also number the device tables and the Option dialog's buttons.
enum class Transport : uint16_t {
    Usb = ZELVO_LINK_USB,
    Serial = ZELVO_LINK_SERIAL,
    Lan = ZELVO_LINK_LAN,
};
inline constexpr std::size_t kTransportCount = 3;

inline constexpr uint32_t kNoDevice = 0xFFFFFFFF;
inline constexpr uint16_t kUpdateSingle = 0;
inline constexpr uint16_t kUpdateAutomatic = 1;
// Baud rates by baud-rate index, as the library numbers them.
using zelvo::tables::kBaudRates;
// Automatic-update intervals by interval index; any other index gives the first.
inline constexpr std::array<int, 7> kUpdateIntervalsMs = {200, 500, 1000, 2000, 5000, 10000, 20000};
// 192.168.1.100: a private-network address, first field in the top byte.
inline constexpr uint32_t kDefaultLanAddress = 0xC0A80164;

struct LinkSettings {
    uint32_t deviceIndex = kNoDevice;  // slot in the transport's device table
    Transport transport = Transport::Usb;
    uint16_t updateMode = kUpdateAutomatic;
    uint16_t intervalIndex = 0;
    uint8_t serialPort = 0;  // "com<n>"
    uint16_t baudIndex = zelvo::tables::kDefaultBaudIndex;
    uint32_t lanAddress = kDefaultLanAddress;
    DeviceInfo deviceInfo{};  // as the last successful device test read it
};

// The handle every library call of this link takes: the device index, with
// the serial or LAN link kind in the top half.
DeviceHandle deviceHandle(const LinkSettings& settings);
int updateIntervalMs(uint16_t intervalIndex);
// "a.b.c.d", most significant byte first; and back (none unless four fields 0..255).
QString dottedAddress(uint32_t address);
bool parseDottedAddress(const QString& text, uint32_t* address);
QString deviceName(const DeviceInfo& info);
QString serialNumber(const DeviceInfo& info);

}  // namespace oscilane
