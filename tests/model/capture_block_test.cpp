// A capture on the scope's screen: the block built from a file shows every
// trace whole, gives back the scales a trace was saved at (so saving again
// writes the same bytes) and follows another time base.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "block_builder.h"
#include "model/capture_block.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "model/waveform.h"
#include "model/waveform_file.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

Capture captureOf(const std::string& text) {
    const CaptureReadResult r = ReadCaptureText(text);
    EXPECT_TRUE(std::holds_alternative<Capture>(r));
    return std::get<Capture>(r);
}

TEST(CaptureBlock, ASavedTraceComesBackAtItsScalesAndSavesTheSameBytes) {
    struct Case {
        int voltsIndex;
        uint32_t volts10uV;
        int probe;
        int lever;
    };
    const Case cases[] = {
        {10, 100000, 0, 0}, {6, 5000, 1, 120}, {0, 50, 0, 199}, {13, 1000000, 3, 77}};
    for (const Case& c : cases) {
        BlockBuilder b;
        b.u16(L::kTimeBase, kOneMsPerDivision)
            .shownChannel(kCh2, c.voltsIndex, c.volts10uV, c.lever);
        b.channel(kCh2, L::channel::kProbe, c.probe);
        for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
            b.sample(kCh2, i, i == 9 ? 32767 : static_cast<int>((i * 13 + 40) % 200));
        const std::string text = WaveformDataText(Waveform(b.block, kCh2));
        const Capture capture = captureOf(text);
        const CaptureScales scales = FitCaptureScales(capture);
        const SettingBlock shown = CaptureBlock(capture, scales);
        EXPECT_EQ(WaveformDataText(Waveform(shown, kCh2)), text) << c.voltsIndex;
        const ScopeSettings s(shown);
        EXPECT_TRUE(s.shown(kCh2));
        EXPECT_FALSE(s.shown(kCh1));
        EXPECT_FALSE(s.running()) << "a capture is a stopped acquisition";
        EXPECT_EQ(s.timeBase(), kOneMsPerDivision);
    }
}

Capture sine(double offset, double amplitude, std::optional<int> timeBase, double seconds) {
    Capture capture;
    capture.format = CaptureFormat::Csv;
    capture.timeBaseIndex = timeBase;
    capture.secondsPerDivision = seconds;
    CaptureTrace trace{kCh1, {}};
    for (int i = 0; i < 1200; ++i)
        trace.volts.push_back(i == 600 ? std::nullopt
                                       : std::optional(offset + amplitude * std::sin(i * 0.0123)));
    capture.traces.push_back(trace);
    return capture;
}

TEST(CaptureBlock, AForeignTraceIsFittedWholeAndCentred) {
    struct Case {
        double offset;
        double amplitude;
        double expectedMillivoltsPerDivision;  // times the probe
    };
    // The smallest scale whose 8 divisions hold the trace, the lever's reach
    // of 4 divisions either way included: 10 V +- 3 V needs 2 V/div, not 1.
    const Case cases[] = {{10.0, 3.0, 2000}, {0.0, 0.0123, 5}, {-2.0, 0.3, 500}, {0, 2000, 1e6}};
    for (const Case& c : cases) {
        const Capture capture = sine(c.offset, c.amplitude, kOneMsPerDivision, 1e-3);
        const CaptureScales scales = FitCaptureScales(capture);
        const CaptureScale& ch1 = scales.channels[kCh1];
        EXPECT_DOUBLE_EQ(*MillivoltsPerDivision(ch1.voltsIndex) * ProbeFactor(ch1.probeIndex),
                         c.expectedMillivoltsPerDivision)
            << c.amplitude;
        const SettingBlock block = CaptureBlock(capture, scales);
        const Waveform wave(block, kCh1);
        int low = 255, high = 0;
        for (int i = 0; i < 1200; ++i) {
            if (i == 600) {
                EXPECT_TRUE(wave.blank(i));
                continue;
            }
            ASSERT_FALSE(wave.blank(i)) << i;
            low = std::min(low, wave.code(i));
            high = std::max(high, wave.code(i));
            const double step = *MillivoltsPerDivision(ch1.voltsIndex) *
                                ProbeFactor(ch1.probeIndex) * 8 / 255 * 0.001;
            EXPECT_NEAR(wave.volts(i), *capture.traces[0].volts[i], step) << i;
        }
        EXPECT_GT(low, 0) << "not clipped at the bottom: " << c.amplitude;
        EXPECT_LT(high, 255) << "not clipped at the top: " << c.amplitude;
        if (c.offset == 0) {
            EXPECT_NEAR((low + high) / 2.0, 127.5, 3) << "centred: " << c.amplitude;
        }
    }
}

TEST(CaptureBlock, TheTimeBaseFollowsTheClock) {
    // A clock off the table takes the nearest entry; a clock of 0 takes 1 ms.
    EXPECT_EQ(FitCaptureScales(sine(0, 1, std::nullopt, 0.0011)).timeBaseIndex, kOneMsPerDivision);
    EXPECT_EQ(FitCaptureScales(sine(0, 1, std::nullopt, 0)).timeBaseIndex, kOneMsPerDivision);

    // At twice the file's time/div the file's 1200 samples fill the first
    // half of the block, every other one; the rest has no samples.
    const Capture capture = sine(0, 1, kOneMsPerDivision, 1e-3);
    CaptureScales scales = FitCaptureScales(capture);
    const SettingBlock same = CaptureBlock(capture, scales);
    scales.timeBaseIndex = kOneMsPerDivision + 1;  // 2 ms/div
    ASSERT_DOUBLE_EQ(*SecondsPerDivision(scales.timeBaseIndex), 2e-3);
    const SettingBlock slower = CaptureBlock(capture, scales);
    const Waveform a(same, kCh1), b(slower, kCh1);
    EXPECT_EQ(ScopeSettings(slower).timeBase(), kOneMsPerDivision + 1);
    for (int i = 0; i < 600; ++i)
        if (i != 300) {
            EXPECT_EQ(b.code(i), a.code(2 * i)) << i;
        }
    for (int i = 600; i < 1200; ++i) EXPECT_TRUE(b.blank(i)) << i;
}

TEST(CaptureBlock, FittingAFullCaptureIsQuick) {
    // Every channel of an all-channel file with no exact scale: the slowest case.
    Capture capture = sine(0.1234567, 1.5, kOneMsPerDivision, 1e-3);
    for (int c = 1; c < 4; ++c) {
        capture.traces.push_back(capture.traces[0]);
        capture.traces.back().channel = c;
    }
    const auto start = std::chrono::steady_clock::now();
    const SettingBlock block = CaptureBlock(capture, FitCaptureScales(capture));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(ScopeSettings(block).shown(kRef));
    // Generous: the work is a few milliseconds, the bound catches a runaway search.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 2000);
}

}  // namespace
