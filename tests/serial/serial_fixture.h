// Simulated instruments on pseudo-terminals, named to the link library as
// ports 1 to 4 through ZELVO_COM<n>.  The library reads that mapping when it
// is loaded, so it is loaded (dlopen) only after the pseudo-terminals exist;
// nothing under /dev is ever looked at.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "serial_server.h"
#include "simulated_instrument.h"
#include "zelvo/ZelvoDLL.h"

namespace zelvo::testing {

// The exports the tests call, resolved from the loaded library.
struct ZelvoApi {
    decltype(&::KwComInit) comInit;
    decltype(&::KwComClose) comClose;
    decltype(&::KwGetCOMDeviceList) comDeviceList;
    decltype(&::KwGetCOMPortPath) comPortPath;
    decltype(&::KwCheckComOK) checkComOk;
    decltype(&::DSOSetTimeBase) setTimeBase;
    decltype(&::KwGetFunction) getFunction;
    decltype(&::KwChangeFunction) changeFunction;
    decltype(&::DMMGetInfo) meterInfo;
    decltype(&::KwGetDeviceInfo) deviceInfo;
    decltype(&::DSOUploadSetting) uploadSetting;
    decltype(&::DDSDownload) download;
    decltype(&::KwGetBlockProgress) blockProgress;
    decltype(&::KwCancelBlockRead) cancelBlockRead;
    decltype(&::KwAbortExchange) abortExchange;
};

struct PtyInstrument {
    sim::SimulatedInstrument instrument;
    sim::SerialServer server{instrument};
};

// Port numbers: kFirstPort + k is line k; kMissingPort names a path that does not exist.
inline constexpr int kFirstPort = 1;
inline constexpr int kLineCount = 4;
inline constexpr int kMissingPort = 7;

const ZelvoApi& zelvoApi();
PtyInstrument& line(int k);

class SerialLinkTest : public ::testing::Test {
  protected:
    static constexpr DeviceHandle kSlot0 = ZELVO_HANDLE(ZELVO_LINK_SERIAL, 0);
    // Clears every fault and the pacing; closes every slot afterwards.
    void SetUp() override;
    void TearDown() override;

    const ZelvoApi& api = zelvoApi();
};

}  // namespace zelvo::testing
