#include "lan_fixture.h"

#include <chrono>
#include <thread>

namespace zelvo::testing {

void LanInstrumentTest::SetUp() {
    server_ = sim::serveOnFreeLoopback(instrument_);
    ASSERT_EQ(KwLanInit(kHandle, server_->address().c_str()), 0);
}

void LanInstrumentTest::TearDown() {
    KwLanClose(kHandle);
    server_.reset();
}

DecodedRequest LanInstrumentTest::lastRequest() {
    return inspect([](sim::Instrument&, sim::Responder& r) {
        return r.requests().empty() ? DecodedRequest{} : r.requests().back();
    });
}

std::size_t LanInstrumentTest::requestCount() {
    return inspect([](sim::Instrument&, sim::Responder& r) { return r.requests().size(); });
}

int LanInstrumentTest::continueBytes() {
    return inspect([](sim::Instrument&, sim::Responder& r) { return r.continueBytes(); });
}

std::size_t LanInstrumentTest::blockWriteBytes() {
    return inspect([](sim::Instrument&, sim::Responder& r) { return r.blockWriteBytes(); });
}

std::size_t LanInstrumentTest::blockWriteBytesOnceSettled(std::size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (blockWriteBytes() < n && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return blockWriteBytes();
}

}  // namespace zelvo::testing
