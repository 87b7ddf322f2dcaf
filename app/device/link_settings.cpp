#include "device/link_settings.h"

#include <cstring>
#include <optional>

#include "model/connect_target.h"

namespace oscilane {
namespace {

// A text field of the device information, which may lack its terminator.
QString fixedText(const char* field, std::size_t size) {
    return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, size)));
}

}  // namespace

DeviceHandle deviceHandle(const LinkSettings& settings) {
    switch (settings.transport) {
        case Transport::Serial:
            return ZELVO_HANDLE(ZELVO_LINK_SERIAL, settings.deviceIndex);
        case Transport::Lan:
            return ZELVO_HANDLE(ZELVO_LINK_LAN, settings.deviceIndex);
        default:
            return settings.deviceIndex;
    }
}

int updateIntervalMs(uint16_t intervalIndex) {
    return intervalIndex < kUpdateIntervalsMs.size() ? kUpdateIntervalsMs[intervalIndex]
                                                     : kUpdateIntervalsMs[0];
}

QString dottedAddress(uint32_t address) {
    return QString::fromStdString(DottedAddressText(address));
}

bool parseDottedAddress(const QString& text, uint32_t* address) {
    const std::optional<uint32_t> value = ReadDottedAddress(text.toStdString());
    if (!value) return false;
    *address = *value;
    return true;
}

QString deviceName(const DeviceInfo& info) { return fixedText(info.name, sizeof info.name); }

QString serialNumber(const DeviceInfo& info) {
    return fixedText(info.serialNumber, sizeof info.serialNumber);
}

}  // namespace oscilane
