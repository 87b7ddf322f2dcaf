// A setting-block upload over a pseudo-terminal with the simulated instrument
// pacing its replies at 9600 baud, against the line's own limit: every byte
// exchanged in either direction takes 11 bit times.  Unpaced, the same upload
// shows what the software itself costs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "core/exchange.h"
#include "core/serial_slot.h"
#include "protocol/serial_frame.h"
#include "protocol/serial_line.h"
#include "serial_server.h"
#include "simulated_instrument.h"

namespace {

using namespace zelvo;

constexpr uint16_t kBaudIndex = zelvo::tables::kDefaultBaudIndex;

// Bytes that cross the line for one upload: the request, the first answer (4 bytes
// from the simulator), then a continue byte and a reply per 512 bytes, each framed.
std::size_t bytesExchanged() {
    const std::size_t replies = (kSettingBlockSize + kBlockReplyMax - 1) / kBlockReplyMax;
    const std::size_t fromPc =
        kSerialLengthPrefix + kRequestSize + replies * (kSerialLengthPrefix + 1);
    const std::size_t fromInstrument =
        kSerialLengthPrefix + 4 + replies * kSerialLengthPrefix + kSettingBlockSize;
    return fromPc + fromInstrument;
}

void upload(benchmark::State& state, bool paced) {
    sim::SimulatedInstrument instrument;
    sim::SerialServer server(instrument);
    server.setPaced(paced);
    server.start();
    link::SerialSlot slot;
    if (slot.open(server.path(), kBaudIndex) != link::Outcome::Ok) {
        state.SkipWithError(slot.lastError());
        return;
    }
    std::vector<uint8_t> block(kSettingBlockSize);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        if (link::readBlock(slot, Block::Setting, block) != link::Outcome::Ok)
            state.SkipWithError("upload failed");
    const std::chrono::duration<double> each =
        (std::chrono::steady_clock::now() - start) / std::max<int64_t>(1, state.iterations());

    const std::chrono::duration<double> limit = lineTime(bytesExchanged(), kBaudRates[kBaudIndex]);
    state.counters["line_limit_s"] = limit.count();
    state.counters["ratio_to_line"] = each / limit;
}

void BM_UploadSettingPaced9600(benchmark::State& state) { upload(state, true); }
void BM_UploadSettingUnpaced(benchmark::State& state) { upload(state, false); }

BENCHMARK(BM_UploadSettingPaced9600)->Iterations(2)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_UploadSettingUnpaced)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
