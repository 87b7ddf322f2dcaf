// The scope window's GUI-thread work per acquired frame at 1600 x 1000 with
// CH1, CH2, MATH and REF shown: the display's repaint alone (a new block
// drawn and copied to the window as the window does it), and the whole
// timer frame (copy of the upload, controller-panel refresh, the display's
// drawing and the repaint of what it changed), with steady settings and
// with settings that change every frame; a frame of a stopped instrument,
// whose upload is the same block again (copy, panel refresh, measurements,
// and the display's check that nothing it shows has changed); and a
// picture of the whole display drawn into another image (a saved picture).
// The baseline is the 10148-byte block copy every frame needs anyway.
//
//   scope_frame_bench                     the benchmarks and their ratios
//   scope_frame_bench --frames=N          N whole frames and nothing else, for
//                                         counting instructions (frame_instructions.sh)
//   scope_frame_bench --unchanged-frames=N  N unchanged frames, likewise
#include <benchmark/benchmark.h>

#include "loopback.h"  // first: the simulator's headers precede Qt's keyword macros
#include "ratio_reporter.h"
#include "zelvo/ZelvoDLL.h"
#include "zelvo/setting_block_layout.h"
// Qt from here on.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fake_link.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"
#include "shell/document.h"
#include "shell/document_template.h"

namespace zelvo::bench {
namespace {

using namespace oscilane;
namespace L = zelvo::layout;

constexpr DeviceHandle kHandle = ZELVO_HANDLE(ZELVO_LINK_LAN, 0);
constexpr QSize kDisplaySize{1600, 1000};

using Block = std::array<uint8_t, L::kBlockSize>;

// Two successive uploads of the simulated instrument with all four traces
// shown (REF stored from CH1); with `changeSettings` the second one has CH1
// AC-coupled and the falling trigger slope, so every frame changes panel
// controls while the traces stay alike (the sine has no DC to remove).
bool uploadTwoFrames(std::array<Block, 2>& frames, bool changeSettings) {
    zelvo::sim::SimulatedInstrument instrument;
    auto server = zelvo::sim::serveOnFreeLoopback(instrument);
    if (KwLanInit(kHandle, server->address().c_str()) != 0) return false;
    bool ok = DSOSetCHEnable(kHandle, 2, 1) == 0 && DSOSetCHEnable(kHandle, 3, 1) == 0 &&
              DSOUploadSetting(kHandle, frames[0].data()) == 0;
    if (ok && changeSettings)
        ok = DSOSetCoupling(kHandle, 0, 1) == 0 && DSOSetTriggerSlope(kHandle, 255, 1) == 0;
    ok = ok && DSOUploadSetting(kHandle, frames[1].data()) == 0;
    KwLanClose(kHandle);
    return ok;
}

// A scope view over a connected link, its display at the benchmark's size.
struct ConnectedView {
    DocumentTemplate type;
    Document document{type};
    // A connection that is up: the display draws traces and the green lamp.
    scopetest::FakeLink link;
    std::array<Block, 2> frames{};
    std::unique_ptr<ScopeView> view;
    QImage target{kDisplaySize, QImage::Format_RGB32};  // a picture of the display
    unsigned count = 0;

    // open(), or the benchmark skipped with the reason.
    bool openFor(benchmark::State& state, bool changeSettings = false) {
        if (open(changeSettings)) return true;
        state.SkipWithError("no upload from the simulated instrument");
        return false;
    }

    bool open(bool changeSettings) {
        if (!uploadTwoFrames(frames, changeSettings)) return false;
        view = std::make_unique<ScopeView>(document, link.link());
        // The view sizes its display to its own client area, as in a window.
        view->resize(kDisplaySize);
        view->show();
        QApplication::processEvents();
        frame();  // the first tick lays the display out
        return view->screen().size() == kDisplaySize;
    }

    // The worker's part (a new upload) and then one timer frame with the
    // repaint it asks for.
    void frame() {
        link.data.uploadedBlock = frames[count++ % 2];
        link.fresh = true;
        view->tick();
        QApplication::processEvents();
    }

    // The other block shown, and the display's repaint alone.
    void repaint() {
        link.data.displayedBlock = frames[count++ % 2];
        view->screen().refresh();
        QApplication::processEvents();
    }

    // The same upload as the last frame's, and whatever repaint the timer
    // frame asks for.
    void unchangedFrame() {
        link.data.uploadedBlock = frames[(count + 1) % 2];
        link.fresh = true;
        view->tick();
        QApplication::processEvents();
    }
};

// A whole frame of a connected window: the part counted by callgrind.
__attribute__((noinline)) void measuredFrames(ConnectedView& view, long frames) {
    for (long i = 0; i < frames; ++i) view.frame();
}

// An unchanged frame of a connected window: counted the same way.
__attribute__((noinline)) void measuredUnchangedFrames(ConnectedView& view, long frames) {
    for (long i = 0; i < frames; ++i) view.unchangedFrame();
}

void BM_PaintConnectedScope(benchmark::State& state) {
    ConnectedView v;
    if (!v.openFor(state)) return;
    for (auto _ : state) {
        v.repaint();
        benchmark::ClobberMemory();
    }
}

void BM_ScopePicture(benchmark::State& state) {
    ConnectedView v;
    if (!v.openFor(state)) return;
    for (auto _ : state) {
        QPainter painter(&v.target);
        v.view->screen().render(painter, v.target.rect());
        benchmark::DoNotOptimize(v.target.constBits());
        benchmark::ClobberMemory();
    }
}

void wholeFrames(benchmark::State& state, bool changeSettings) {
    ConnectedView v;
    if (!v.openFor(state, changeSettings)) return;
    for (auto _ : state) {
        v.frame();
        benchmark::ClobberMemory();
    }
}

void BM_ScopeFrame(benchmark::State& state) { wholeFrames(state, false); }

void BM_UnchangedScopeFrame(benchmark::State& state) {
    ConnectedView v;
    if (!v.openFor(state)) return;
    v.unchangedFrame();
    for (auto _ : state) {
        v.unchangedFrame();
        benchmark::ClobberMemory();
    }
}
void BM_ScopeFrameChangingSettings(benchmark::State& state) { wholeFrames(state, true); }

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
BENCHMARK(BM_ScopeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeFrameChangingSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnchangedScopeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopePicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopySettingBlock)->Unit(benchmark::kMicrosecond);

// --frames=N or --unchanged-frames=N: a few warm-up frames, then N counted ones.
int runFrames(long frames, bool unchanged) {
    ConnectedView v;
    if (!v.open(false)) {
        std::fputs("no upload from the simulated instrument\n", stderr);
        return 1;
    }
    for (int i = 0; i < 4; ++i) v.frame();
    if (unchanged) {
        v.unchangedFrame();
        measuredUnchangedFrames(v, frames);
    } else {
        measuredFrames(v, frames);
    }
    std::printf("frames %ld\n", frames);
    return 0;
}

// The count after `option` ("--frames="), or 0 when the argument is not it.
long countAfter(const char* argument, const char* option) {
    const std::size_t length = std::strlen(option);
    if (std::strncmp(argument, option, length) != 0) return 0;
    const long frames = std::strtol(argument + length, nullptr, 10);
    return frames > 0 ? frames : -1;
}

}  // namespace
}  // namespace zelvo::bench

int main(int argc, char** argv) {
    // The display draws into images: no window system is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const bool unchanged : {false, true}) {
        const char* option = unchanged ? "--unchanged-frames=" : "--frames=";
        const long frames = argc == 2 ? zelvo::bench::countAfter(argv[1], option) : 0;
        if (frames < 0) {
            std::fprintf(stderr, "%s needs a positive count\n", option);
            return 2;
        }
        if (frames > 0) return zelvo::bench::runFrames(frames, unchanged);
    }
    return zelvo::bench::runWithRatios(argc, argv,
                                       {{"BM_PaintConnectedScope", "BM_CopySettingBlock"},
                                        {"BM_ScopeFrame", "BM_CopySettingBlock"},
                                        {"BM_ScopeFrameChangingSettings", "BM_CopySettingBlock"},
                                        {"BM_UnchangedScopeFrame", "BM_CopySettingBlock"}});
}
