#include "device/device_probe.h"

#include "device/device_messages.h"
#include "device/device_tables.h"
#include "shell/message_service.h"

namespace oscilane {

bool openLink(const LinkSettings& settings) {
    const DeviceHandle h = deviceHandle(settings);
    switch (settings.transport) {
        case transport::kUsb:
            return KwUSBCheckConnect(h) == 0;
        case transport::kSerial:
            return KwComInit(h, settings.serialPort, settings.baudIndex) == 0;
        case transport::kLan:
            return KwLanInit(h, dottedAddress(settings.lanAddress).toLatin1().constData()) == 0;
        default:
            return false;
    }
}

void closeLink(const LinkSettings& settings) {
    const DeviceHandle h = deviceHandle(settings);
    if (settings.transport == transport::kSerial) KwComClose(h);
    if (settings.transport == transport::kLan) KwLanClose(h);
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
    if (tables.isConnected(settings.transport, settings.deviceIndex)) {
        showMessage(QString::fromUtf8(msg::kDeviceAlreadyConnected));
        return false;
    }
    if (!openLink(settings)) {
        showMessage(QString::fromUtf8(msg::kCannotConnect));
        return false;
    }
    readDeviceInfo(deviceHandle(settings), &settings.deviceInfo);
    tables.describe(settings.transport, settings.deviceIndex, deviceName(settings.deviceInfo),
                    serialNumber(settings.deviceInfo),
                    settings.transport == transport::kLan ? settings.lanAddress : 0);
    closeLink(settings);
    return true;
}

}  // namespace oscilane
