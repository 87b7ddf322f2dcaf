// One repaint of a connected scope display at 1600 x 1000 with four traces,
// against copying the 10148-byte setting block the repaint draws from: the
// GUI thread's work per frame beside the copy every frame needs anyway.
#include <benchmark/benchmark.h>

#include "loopback.h"  // first: the simulator's headers precede Qt's keyword macros
#include "ratio_reporter.h"
#include "zelvo/ZelvoDLL.h"
// Qt from here on.
#include <QApplication>
#include <QImage>

#include "scope/scope_link_state.h"
#include "scope/scope_screen.h"

namespace {

using namespace oscilane;

constexpr DeviceHandle kHandle = ZELVO_HANDLE(ZELVO_LINK_LAN, 0);

// A connection that is up and idle: the display draws traces and the green lamp.
struct ConnectedLink final : CommandSink, ScopeLinkState {
    void Post(int, int32_t) override {}
    bool connected() const override { return true; }
    bool deviceRemoved() const override { return false; }
    bool slowUpload() const override { return false; }
    int uploadPercent() const override { return 0; }
    bool newData() const override { return false; }
    void clearNewData() override {}
};

// The simulated instrument's block with CH1, CH2, MATH and REF shown.
bool uploadFourTraces(ScopeData& data) {
    zelvo::sim::SimulatedInstrument instrument;
    auto server = zelvo::sim::serveOnFreeLoopback(instrument);
    if (KwLanInit(kHandle, server->address().c_str()) != 0) return false;
    const bool ok = DSOSetCHEnable(kHandle, 2, 1) == 0 && DSOSetCHEnable(kHandle, 3, 1) == 0 &&
                    DSOUploadSetting(kHandle, data.uploadedBlock.data()) == 0;
    KwLanClose(kHandle);
    data.displayedBlock = data.uploadedBlock;
    return ok;
}

void BM_PaintConnectedScope(benchmark::State& state) {
    ScopeData data;
    if (!uploadFourTraces(data)) {
        state.SkipWithError("no upload from the simulated instrument");
        return;
    }
    ConnectedLink link;
    ScopeScreen screen(data, link, link);
    screen.resize(1600, 1000);
    // The scope view's layout of the display.
    screen.setMargins(50, 50, 120, 50);
    screen.setBestFit(true);
    QImage image(screen.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        screen.renderInto(image);
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
}

void BM_CopySettingBlock(benchmark::State& state) {
    ScopeData data;
    data.uploadedBlock.fill(0x55);
    for (auto _ : state) {
        data.displayedBlock = data.uploadedBlock;
        benchmark::DoNotOptimize(data.displayedBlock.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_PaintConnectedScope)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopySettingBlock)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // The display draws into an image: no window system is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return zelvo::bench::runWithRatios(argc, argv,
                                       {{"BM_PaintConnectedScope", "BM_CopySettingBlock"}});
}
