// Which transport serves a handle in the link library: bits 16-31 of the
// handle name the link, bits 0-15 the device or slot.
#include "core/device_calls.h"
#include "core/lan_slot.h"
#include "core/serial_slot.h"
#include "core/usb_transport.h"

namespace zelvo::link {

Transport* transportFor(DeviceHandle h) {
    const uint32_t number = deviceNumber(h);
    switch (linkKind(h)) {
        case ZELVO_LINK_LAN:
            return number < kLanSlotCount ? &lanSlots()[number] : nullptr;
        case ZELVO_LINK_SERIAL:
            return number < kSerialSlotCount ? &serialSlots()[number] : nullptr;
        default:
            // Every other kind is USB.
            return number < kUsbDeviceCount ? &usbTransports()[number] : nullptr;
    }
}

}  // namespace zelvo::link
