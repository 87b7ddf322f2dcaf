#include "device/connect_target.h"

#include "device/device_tables.h"

namespace oscilane {
namespace {

std::optional<uint32_t> number(const QString& text, uint32_t limit) {
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);
    if (!ok || value >= limit) return std::nullopt;
    return value;
}

}  // namespace

std::optional<LinkSettings> settingsForConnectTarget(const QString& target, QString* error) {
    const qsizetype colon = target.indexOf(QLatin1Char(':'));
    const QString kind = target.left(colon);
    const QString rest = colon < 0 ? QString() : target.mid(colon + 1);
    LinkSettings s;
    if (kind == QLatin1String("lan")) {
        if (!parseDottedAddress(rest, &s.lanAddress)) {
            *error = QStringLiteral("not a dotted IPv4 address: %1").arg(rest);
            return std::nullopt;
        }
        s.transport = transport::kLan;
        s.deviceIndex = 0;
        return s;
    }
    if (kind == QLatin1String("usb")) {
        const auto index = number(rest, kDeviceTableSize);
        if (!index) {
            *error = QStringLiteral("not a USB device index 0-15: %1").arg(rest);
            return std::nullopt;
        }
        s.transport = transport::kUsb;
        s.deviceIndex = *index;
        return s;
    }
    if (kind == QLatin1String("serial")) {
        const auto port = number(rest, 256);
        uint8_t ports[16] = {};
        const int count = port ? KwGetCOMDeviceList(ports) : 0;
        for (int i = 0; i < count && i < 16; ++i) {
            if (ports[i] != *port) continue;
            s.transport = transport::kSerial;
            s.deviceIndex = static_cast<uint32_t>(i);
            s.serialPort = ports[i];
            s.updateMode = kUpdateSingle;  // as the Option dialog sets it for serial lines
            return s;
        }
        *error = QStringLiteral("serial port %1 is not available").arg(rest);
        return std::nullopt;
    }
    *error = QStringLiteral("expected lan:ADDRESS, usb:N or serial:N, not %1").arg(target);
    return std::nullopt;
}

}  // namespace oscilane
