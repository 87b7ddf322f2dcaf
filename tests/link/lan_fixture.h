// A simulated instrument on its own loopback address, and LAN slot 0 of the
// link library opened to it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "loopback.h"
#include "zelvo/ZelvoDLL.h"

namespace zelvo::testing {

class LanInstrumentTest : public ::testing::Test {
  public:
    static constexpr DeviceHandle kHandle = ZELVO_HANDLE(ZELVO_LINK_LAN, 0);

  protected:
    void SetUp() override;
    void TearDown() override;

    void setFaults(const sim::Faults& faults) { instrument_.setFaults(faults); }
    // The last request the instrument decoded, and how many it has seen.
    DecodedRequest lastRequest();
    std::size_t requestCount();
    int continueBytes();
    std::size_t blockWriteBytes();
    // Block-write data gets no reply, so the instrument may still be taking it in
    // when the call returns: waits up to a second for the count to reach n.
    std::size_t blockWriteBytesOnceSettled(std::size_t n);
    template <class F>
    auto inspect(F&& f) {
        return instrument_.inspect(std::forward<F>(f));
    }
    const std::string& address() const { return server_->address(); }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
};

}  // namespace zelvo::testing
