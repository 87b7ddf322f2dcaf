#include "device/device_probe.h"

#include "device/device_messages.h"
#include "shell/message_service.h"

namespace oscilane {

bool openLink(const LinkSettings& settings) {
    const DeviceHandle h = deviceHandle(settings);
    switch (settings.transport) {
        case transport::kUsb: return KwUSBCheckConnect(h) == 0;
        case transport::kSerial: return KwComInit(h, settings.serialPort, settings.baudIndex) == 0;
        case transport::kLan:
            return KwLanInit(h, dottedAddress(settings.lanAddress).toLatin1().constData()) == 0;
        default: return false;
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

}  // namespace oscilane
