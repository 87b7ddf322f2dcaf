#include "zelvo/driver/usb_ids.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace zelvo::driver {
namespace {

bool hex16(std::string_view s, uint16_t& out) {
    if (s.empty() || s.size() > 4) return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out, 16);
    return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

void appendFile(const std::string& path, std::vector<UsbId>& ids) {
    std::ifstream in(path);
    if (!in) return;
    std::stringstream text;
    text << in.rdbuf();
    for (const UsbId& id : parseUsbIds(text.str())) ids.push_back(id);
}

bool hasEndpoint(const BusDeviceInfo& info, uint8_t address, TransferType type) {
    for (const EndpointInfo& e : info.endpoints)
        if (e.address == address && e.type == type) return true;
    return false;
}

}  // namespace

std::vector<UsbId> parseUsbIds(std::string_view text) {
    std::vector<UsbId> ids;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '#') {
            at = text.find('\n', at);
            if (at == std::string_view::npos) break;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',') {
            ++at;
            continue;
        }
        std::size_t end = text.find_first_of(" \t\r\n,#", at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(at, end - at);
        at = end;
        const auto colon = word.find(':');
        UsbId id{};
        if (colon != std::string_view::npos && hex16(word.substr(0, colon), id.vendor) &&
            hex16(word.substr(colon + 1), id.product))
            ids.push_back(id);
    }
    return ids;
}

std::vector<UsbId> configuredUsbIds() {
    std::vector<UsbId> ids;
    if (const char* env = std::getenv("ZELVO_USB_IDS")) ids = parseUsbIds(env);
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        appendFile(std::string(xdg) + "/zelvo/usb-ids", ids);
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        appendFile(std::string(home) + "/.config/zelvo/usb-ids", ids);
    appendFile("/etc/zelvo/usb-ids", ids);
    return ids;
}

bool hasInstrumentLayout(const BusDeviceInfo& info) {
    return hasEndpoint(info, 0x81, TransferType::Interrupt) &&
           hasEndpoint(info, 0x82, TransferType::Bulk) &&
           hasEndpoint(info, 0x02, TransferType::Bulk) &&
           hasEndpoint(info, 0x01, TransferType::Bulk);
}

}  // namespace zelvo::driver
