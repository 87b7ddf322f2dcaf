// A simulated USB bus served from the test process, with three instruments
// (the third unplugged), and the driver pointed at it through ZELVO_USB_SIM.
// The driver binds to its bus once per process, so the bus lives as long as
// the process; CTest runs every test in a process of its own, which is what
// the tests of a freshly loaded access library rely on.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "simulated_instrument.h"
#include "usb_bus_server.h"

namespace zelvo::testing {

class UsbBus {
  public:
    static UsbBus& instance();
    ~UsbBus();

    sim::UsbBusServer& server() { return *server_; }
    sim::SimulatedInstrument& instrument(int k) { return *instruments_[k]; }
    uint32_t port(int k) const { return ports_[k]; }
    const std::string& directory() const { return directory_; }

  private:
    UsbBus();
    std::string directory_;
    std::array<std::unique_ptr<sim::SimulatedInstrument>, 3> instruments_;
    std::array<uint32_t, 3> ports_{};
    std::unique_ptr<sim::UsbBusServer> server_;
};

class UsbLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { bus_ = &UsbBus::instance(); }
    void TearDown() override;
    sim::UsbBusServer& server() { return bus_->server(); }
    // The request the k-th instrument decoded last.
    DecodedRequest lastRequest(int k);

    UsbBus* bus_ = nullptr;
};

}  // namespace zelvo::testing
