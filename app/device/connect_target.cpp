#include "device/connect_target.h"

#include <QStringList>
#include <cstdio>

#include "device/device_tables.h"
#include "device/instrument_window.h"
#include "model/connect_target.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

// The library's serial list holds at most 16 ports.
constexpr int kListedPorts = 16;

void listUsbInstruments() {
    uint8_t present[kDeviceTableSize] = {};
    KwGetUSBDeviceList(present);
    for (uint32_t slot = 0; slot < kDeviceTableSize; ++slot)
        if (present[slot] == 1) DeviceTables::instance().setPresent(slot, true);
}

}  // namespace

std::optional<LinkSettings> settingsForConnectTarget(const QString& target, QString* error) {
    const ConnectTargetParse parsed = ParseConnectTarget(target.toStdString());
    if (!parsed.target) {
        *error = QString::fromStdString(parsed.error);
        return std::nullopt;
    }
    LinkSettings s;
    switch (parsed.target->link) {
        case ZELVO_LINK_LAN:
            s.transport = Transport::Lan;
            s.deviceIndex = 0;
            s.lanAddress = parsed.target->lanAddress;
            return s;
        case ZELVO_LINK_USB:
            listUsbInstruments();
            s.transport = Transport::Usb;
            s.deviceIndex = parsed.target->number;
            return s;
        default:
            break;
    }
    uint8_t ports[kListedPorts] = {};
    const int count = KwGetCOMDeviceList(ports);
    for (int i = 0; i < count && i < kListedPorts; ++i) {
        if (ports[i] != parsed.target->number) continue;
        s.transport = Transport::Serial;
        s.deviceIndex = static_cast<uint32_t>(i);
        s.serialPort = ports[i];
        s.updateMode = kUpdateSingle;  // as the Option dialog sets it for serial lines
        return s;
    }
    *error = QStringLiteral("serial port %1 is not available").arg(parsed.target->number);
    return std::nullopt;
}

bool connectNamedInstrument(InstrumentWindow& window, const LinkSettings& settings) {
    QStringList said;
    bool connected = false;
    {
        // Holds the messages back until they are on standard error.  Workers
        // post theirs, so none can reach this recorder after it has gone.
        MessageRecorder recorder;
        connected = window.connectTo(settings);
        said = recorder.texts();
    }
    for (const QString& text : said) std::fprintf(stderr, "Oscilane: %s\n", qUtf8Printable(text));
    std::fflush(stderr);
    for (const QString& text : said) showMessage(text);
    return connected;
}

}  // namespace oscilane
