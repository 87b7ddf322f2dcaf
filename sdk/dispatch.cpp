// The developer kit speaks USB only: serial and LAN handles name no transport,
// so their calls fail at once without touching a port.
#include "core/device_calls.h"
#include "core/usb_transport.h"

namespace zelvo::link {

Transport* transportFor(DeviceHandle h) {
    const uint32_t kind = linkKind(h);
    if (kind == ZELVO_LINK_SERIAL || kind == ZELVO_LINK_LAN) return nullptr;
    const uint32_t number = deviceNumber(h);
    return number < kUsbDeviceCount ? &usbTransports()[number] : nullptr;
}

}  // namespace zelvo::link
