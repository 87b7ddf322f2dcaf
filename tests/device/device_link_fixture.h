// A simulated instrument on its own loopback address and window connections
// (CDeviceLink) set up to reach it over LAN slot 0.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

// The simulator names a parameter "signals", which Qt's keyword macro would
// eat: its headers come before any of Qt's, so include this header first.
#include "loopback.h"
#include "protocol/frame.h"
// Qt from here on.
#include "device/device_link.h"
#include "device/device_session.h"
#include "generator/generator_session.h"
#include "meter/meter_session.h"
#include "scope/scope_session.h"
#include "shell/message_service.h"

namespace oscilane::testing {

// Waits up to limit for done() to hold, keeping the GUI thread's queued calls flowing.
bool eventually(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::seconds(10));

// A new session of the window function.
std::unique_ptr<DeviceSession> sessionFor(DeviceFunction function);
// The upload bookkeeping of a link with a scope session.
UploadWatch& uploadsOf(CDeviceLink& link);

class DeviceLinkTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Settings of a window whose chosen device is the simulated instrument.
    LinkSettings lanSettings(uint16_t updateMode = kUpdateAutomatic) const;
    // A link with the function's session and its worker, ready to connect.
    std::unique_ptr<CDeviceLink> makeLink(DeviceFunction function,
                                          uint16_t updateMode = kUpdateAutomatic) const;

    void setFaults(const zelvo::sim::Faults& faults) { instrument_.setFaults(faults); }
    std::vector<zelvo::DecodedRequest> requests();
    // Requests that arrived after the first `from` of them.
    std::vector<zelvo::DecodedRequest> requestsSince(std::size_t from);
    // Block reads of the setting block seen so far.
    std::size_t uploads();

    MessageRecorder messages_;
    zelvo::sim::SimulatedInstrument instrument_;
    std::unique_ptr<zelvo::sim::UdpServer> server_;
};

}  // namespace oscilane::testing
