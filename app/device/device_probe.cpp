#include "device/device_probe.h"

#include "device/device_messages.h"
#include "device/device_tables.h"
#include "shell/message_service.h"

namespace oscilane {

bool openLink(const LinkSettings& settings) {
    const DeviceHandle h = deviceHandle(settings);
    switch (settings.transport) {
        case Transport::Usb:
            return KwUSBCheckConnect(h) == 0;
        case Transport::Serial:
            return KwComInit(h, settings.serialPort, settings.baudIndex) == 0;
        case Transport::Lan:
            return KwLanInit(h, dottedAddress(settings.lanAddress).toLatin1().constData()) == 0;
        default:
            return false;
    }
}

void closeLink(const LinkSettings& settings) {
    const DeviceHandle h = deviceHandle(settings);
    if (settings.transport == Transport::Serial) KwComClose(h);
    if (settings.transport == Transport::Lan) KwLanClose(h);
}

bool readDeviceInfo(DeviceHandle handle, DeviceInfo* info) {
    DeviceInfo read{};
    if (KwGetDeviceInfo(handle, &read) != 0) {
        showMessage(QString::fromUtf8(msg::kCannotReadDeviceInfo));
        return false;
    }
    *info = read;
    return true;
}

bool testDevice(LinkSettings& settings) {
    DeviceTables& tables = DeviceTables::instance();
    const bool lan = settings.transport == Transport::Lan;
    // A LAN test borrows a free slot, so it never disturbs another window's.
    if (lan) {
        const LanClaim claim = tables.claimLanSlot(settings.lanAddress);
        if (!claim.slot) {
            showMessage(QString::fromUtf8(claim.sameAddress ? msg::kDeviceAlreadyConnected
                                                            : msg::kCannotConnect));
            return false;
        }
        settings.deviceIndex = *claim.slot;
    } else if (tables.isConnected(settings.transport, settings.deviceIndex)) {
        showMessage(QString::fromUtf8(msg::kDeviceAlreadyConnected));
        return false;
    }
    const bool opened = openLink(settings);
    if (opened) {
        readDeviceInfo(deviceHandle(settings), &settings.deviceInfo);
        tables.describe(settings.transport, settings.deviceIndex, deviceName(settings.deviceInfo),
                        serialNumber(settings.deviceInfo), lan ? settings.lanAddress : 0);
        closeLink(settings);
    }
    if (lan) tables.release(settings.transport, settings.deviceIndex);
    if (!opened) showMessage(QString::fromUtf8(msg::kCannotConnect));
    return opened;
}

}  // namespace oscilane
