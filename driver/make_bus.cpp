#include <cstdlib>
#include <exception>

#include "libusb/libusb_bus.h"
#include "simbus/sim_bus.h"
#include "zelvo/driver/bus.h"

namespace zelvo::driver {

std::unique_ptr<Bus> makeBus() {
    const char* simulator = std::getenv("ZELVO_USB_SIM");
    if (simulator != nullptr && *simulator != '\0') {
        try {
            return std::make_unique<simbus::SimBus>(simulator);
        } catch (const std::exception&) {
            // A simulator that was asked for but is not there is no bus at all,
            // rather than silently the real one.
            return nullptr;
        }
    }
    return usb::LibusbBus::create();
}

}  // namespace zelvo::driver
