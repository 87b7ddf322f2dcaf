// A setting-block upload through the link library over the simulated USB
// bus (ZelvoDLL -> ZelvoDev -> driver -> bus, with a device open and close
// per exchange) against a raw exchange of the same 161 packets over the same
// socket: one request out, the first answer and 159 data packets in.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "protocol/frame.h"
#include "ratio_reporter.h"
#include "simbus/sim_bus.h"
#include "simulated_instrument.h"
#include "usb_bus_server.h"
#include "zelvo/ZelvoDLL.h"

namespace {

constexpr DeviceHandle kHandle = ZELVO_HANDLE(ZELVO_LINK_USB, 0);
constexpr std::size_t kDataPackets = (zelvo::kSettingBlockSize + 63) / 64;

struct Bench {
    std::string directory;
    zelvo::sim::SimulatedInstrument instrument;
    std::unique_ptr<zelvo::sim::UsbBusServer> server;
};
Bench* bench = nullptr;

void BM_UploadSettingUsb(benchmark::State& state) {
    uint8_t list[16];
    if (KwGetUSBDeviceList(list) != 1) {
        state.SkipWithError("no simulated instrument");
        return;
    }
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    for (auto _ : state)
        if (DSOUploadSetting(kHandle, block.data()) != 0) state.SkipWithError("upload failed");
}

// One transfer on the bus, waited for as the driver waits for its transfers.
bool transfer(zelvo::driver::BusDevice& device, zelvo::driver::TransferType type, uint8_t endpoint,
              std::span<uint8_t> buffer) {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    bool ok = false;
    const auto id = device.submit(type, endpoint, buffer, [&](zelvo::driver::TransferResult r) {
        std::lock_guard lock(m);
        ok = r.status == zelvo::driver::TransferStatus::Completed;
        done = true;
        cv.notify_all();
    });
    if (!id) return false;
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return done; });
    return ok;
}

void BM_RawPackets(benchmark::State& state) {
    zelvo::driver::simbus::SimBus bus(bench->server->socketPath());
    const auto devices = bus.devices();
    auto device = devices.empty() ? nullptr : bus.open(devices.front());
    if (!device) {
        state.SkipWithError("no simulated instrument");
        return;
    }
    using zelvo::driver::TransferType;
    std::vector<uint8_t> block((1 + kDataPackets) * 64);
    for (auto _ : state) {
        auto request = zelvo::encodeBlockReadRequest(
            zelvo::Block::Setting, static_cast<uint32_t>(zelvo::kSettingBlockSize));
        bool ok = transfer(*device, TransferType::Bulk, 0x02, request);
        for (std::size_t i = 0; ok && i < 1 + kDataPackets; ++i)
            ok = transfer(*device, TransferType::Bulk, 0x82, std::span(block).subspan(64 * i, 64));
        if (!ok) state.SkipWithError("raw exchange failed");
    }
}

BENCHMARK(BM_UploadSettingUsb)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawPackets)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    char pattern[] = "/tmp/zelvo-usb-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    Bench b;
    b.directory = pattern;
    b.server = std::make_unique<zelvo::sim::UsbBusServer>(b.directory + "/bus.sock");
    b.server->attach(b.instrument);
    b.server->start();
    bench = &b;
    // The driver binds to its bus on first use, which comes after this.
    ::setenv("ZELVO_USB_SIM", b.server->socketPath().c_str(), 1);
    ::setenv("ZELVO_USB_IDS", "1209:0001", 1);
    const int status =
        zelvo::bench::runWithRatios(argc, argv, {{"BM_UploadSettingUsb", "BM_RawPackets"}});
    b.server.reset();
    ::rmdir(b.directory.c_str());
    return status;
}
