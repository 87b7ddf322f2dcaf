// The one reading of an instrument named as "lan:ADDRESS", "usb:N" or
// "serial:N", shared by the application's --connect and the zelvo client, and
// of the dotted IPv4 addresses and baud rates that go with it.  Pure text to
// values: nothing here looks at a port or a device.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zelvo/serial_tables.h"
#include "zelvo/zelvo_common.h"

namespace oscilane {

// Highest USB device index and serial port number a target may name.
inline constexpr uint32_t kMaxUsbDeviceIndex = 15;
inline constexpr uint32_t kMaxSerialPort = 255;

// Baud rates by the library's baud-rate index.
inline constexpr auto& kSerialBaudRates = zelvo::tables::kBaudRates;

struct ConnectTarget {
    uint32_t link = ZELVO_LINK_LAN;  // ZELVO_LINK_USB, ZELVO_LINK_SERIAL or ZELVO_LINK_LAN
    // USB device index (0-15) or serial port number "com<n>" (0-255); 0 for LAN.
    uint32_t number = 0;
    uint32_t lanAddress = 0;  // IPv4, first field in the top byte; LAN only

    bool operator==(const ConnectTarget&) const = default;
};

// A target, or the reason the text names none.
struct ConnectTargetParse {
    std::optional<ConnectTarget> target;
    std::string error;  // one line, empty when target is set
};

ConnectTargetParse ParseConnectTarget(std::string_view text);

// "a.b.c.d": four fields of one to three decimal digits, each 0..255.
std::optional<uint32_t> ReadDottedAddress(std::string_view text);
std::string DottedAddressText(uint32_t address);
// "not a dotted IPv4 address: TEXT", the refusal of a text ReadDottedAddress refuses.
std::string NotADottedAddress(std::string_view text);

// "300, 600, 1200, 2400, 4800 or 9600": the rates of the baud-rate table.
std::string BaudRatesText();

// The library's baud-rate index of a rate of the table, or none.
std::optional<uint16_t> BaudIndexOfRate(unsigned rate);

}  // namespace oscilane
