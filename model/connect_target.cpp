#include "model/connect_target.h"

#include <algorithm>

namespace oscilane {
namespace {

// Decimal digits only (no sign, no spaces), at most `limit`.
std::optional<uint32_t> number(std::string_view text, uint32_t limit) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > limit) return std::nullopt;
    return static_cast<uint32_t>(value);
}

ConnectTargetParse failure(std::string text) { return {std::nullopt, std::move(text)}; }

}  // namespace

ConnectTargetParse ParseConnectTarget(std::string_view text) {
    const std::size_t colon = text.find(':');
    const std::string_view kind = text.substr(0, colon);
    const std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    ConnectTarget target;
    if (colon != std::string_view::npos && kind == "lan") {
        const auto address = ReadDottedAddress(rest);
        if (!address) return failure(NotADottedAddress(rest));
        target.link = ZELVO_LINK_LAN;
        target.lanAddress = *address;
        return {target, {}};
    }
    if (colon != std::string_view::npos && kind == "usb") {
        const auto index = number(rest, kMaxUsbDeviceIndex);
        if (!index) return failure("not a USB device index 0-15: " + std::string(rest));
        target.link = ZELVO_LINK_USB;
        target.number = *index;
        return {target, {}};
    }
    if (colon != std::string_view::npos && kind == "serial") {
        const auto port = number(rest, kMaxSerialPort);
        if (!port) return failure("not a serial port number 0-255: " + std::string(rest));
        target.link = ZELVO_LINK_SERIAL;
        target.number = *port;
        return {target, {}};
    }
    return failure("expected lan:ADDRESS, usb:N or serial:N, not " + std::string(text));
}

std::optional<uint32_t> ReadDottedAddress(std::string_view text) {
    uint32_t address = 0;
    for (int field = 0; field < 4; ++field) {
        const std::size_t dot = field < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) return std::nullopt;
        const std::string_view digits = text.substr(0, dot);
        if (digits.size() > 3) return std::nullopt;
        const auto value = number(digits, 255);
        if (!value) return std::nullopt;
        address = (address << 8) | *value;
        text.remove_prefix(field < 3 ? dot + 1 : dot);
    }
    return address;
}

std::string DottedAddressText(uint32_t address) {
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
           std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

std::string NotADottedAddress(std::string_view text) {
    return "not a dotted IPv4 address: " + std::string(text);
}

std::string BaudRatesText() {
    std::string text;
    for (std::size_t i = 0; i < kSerialBaudRates.size(); ++i) {
        if (i > 0) text += i + 1 == kSerialBaudRates.size() ? " or " : ", ";
        text += std::to_string(kSerialBaudRates[i]);
    }
    return text;
}

std::optional<uint16_t> BaudIndexOfRate(unsigned rate) {
    const auto found = std::find(kSerialBaudRates.begin(), kSerialBaudRates.end(), rate);
    if (found == kSerialBaudRates.end()) return std::nullopt;
    return static_cast<uint16_t>(found - kSerialBaudRates.begin());
}

}  // namespace oscilane
