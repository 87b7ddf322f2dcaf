#include "usb_bus_fixture.h"

#include <stdlib.h>
#include <unistd.h>

namespace zelvo::testing {

UsbBus& UsbBus::instance() {
    static UsbBus bus;
    return bus;
}

UsbBus::UsbBus() {
    char pattern[] = "/tmp/zelvo-usb-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) throw std::runtime_error("mkdtemp failed");
    directory_ = made;
    server_ = std::make_unique<sim::UsbBusServer>(directory_ + "/bus.sock");
    for (std::size_t k = 0; k < instruments_.size(); ++k) {
        sim::Identity id;
        id.serialNumber = "USB-" + std::to_string(k + 1);
        instruments_[k] = std::make_unique<sim::SimulatedInstrument>(id);
        ports_[k] = server_->attach(*instruments_[k]);
    }
    server_->unplug(ports_[2]);
    server_->start();
    ::setenv("ZELVO_USB_SIM", server_->socketPath().c_str(), 1);
    ::setenv("ZELVO_USB_IDS", "1209:0001", 1);
}

UsbBus::~UsbBus() {
    server_.reset();
    ::rmdir(directory_.c_str());
}

void UsbLinkTest::TearDown() {
    for (int k = 0; k < 3; ++k) {
        bus_->instrument(k).setFaults({});
        server().setSlowness(bus_->port(k), std::chrono::milliseconds(0));
        if (k < 2) server().plug(bus_->port(k));
    }
}

DecodedRequest UsbLinkTest::lastRequest(int k) {
    return bus_->instrument(k).inspect(
        [](sim::Instrument&, sim::Responder& r) { return r.requests().back(); });
}

}  // namespace zelvo::testing
