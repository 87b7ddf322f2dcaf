#include "device/link_settings.h"

#include <QStringList>
#include <cstring>

namespace oscilane {
namespace {

// A text field of the device information, which may lack its terminator.
QString fixedText(const char* field, std::size_t size) {
    return QString::fromLatin1(field, static_cast<qsizetype>(strnlen(field, size)));
}

}  // namespace

DeviceHandle deviceHandle(const LinkSettings& settings) {
    switch (settings.transport) {
        case transport::kSerial: return ZELVO_HANDLE(ZELVO_LINK_SERIAL, settings.deviceIndex);
        case transport::kLan: return ZELVO_HANDLE(ZELVO_LINK_LAN, settings.deviceIndex);
        default: return settings.deviceIndex;
    }
}

int updateIntervalMs(uint16_t intervalIndex) {
    return intervalIndex < kUpdateIntervalsMs.size() ? kUpdateIntervalsMs[intervalIndex]
                                                     : kUpdateIntervalsMs[0];
}

QString dottedAddress(uint32_t address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

bool parseDottedAddress(const QString& text, uint32_t* address) {
    const QStringList fields = text.split(QLatin1Char('.'));
    if (fields.size() != 4) return false;
    uint32_t value = 0;
    for (const QString& field : fields) {
        if (field.isEmpty() || field.size() > 3) return false;
        uint32_t number = 0;
        for (QChar c : field) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
            number = number * 10 + static_cast<uint32_t>(c.unicode() - u'0');
        }
        if (number > 255) return false;
        value = (value << 8) | number;
    }
    *address = value;
    return true;
}

QString deviceName(const DeviceInfo& info) { return fixedText(info.name, sizeof info.name); }

QString serialNumber(const DeviceInfo& info) {
    return fixedText(info.serialNumber, sizeof info.serialNumber);
}

}  // namespace oscilane
