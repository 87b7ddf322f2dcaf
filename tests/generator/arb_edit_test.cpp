// The editor's arithmetic: zoom spans, index limits, the straight-line fill
// and the pixel mapping, including waves whose stored zoom state does not fit
// their sample count.
#include <gtest/gtest.h>

#include <vector>

#include "generator/arb_edit.h"

namespace oscilane {
namespace {

std::vector<int> zoomChain(uint16_t span, uint16_t count, bool in, int steps) {
    std::vector<int> spans;
    for (int i = 0; i < steps; ++i) {
        span = in ? arb::ZoomedInSpan(span, count) : arb::ZoomedOutSpan(span, count);
        spans.push_back(span);
    }
    return spans;
}

TEST(ArbZoom, InStopsAtOneHundredOutStopsAtTheSampleCount) {
    EXPECT_EQ(zoomChain(250, 1000, true, 4), (std::vector<int>{166, 110, 100, 100}));
    EXPECT_EQ(zoomChain(166, 1000, false, 6), (std::vector<int>{249, 373, 559, 838, 1000, 1000}));
    // A small wave: no zoom in below 100 samples, never a span above N.
    EXPECT_EQ(arb::ZoomedInSpan(80, 80), 80);
    EXPECT_EQ(arb::ZoomedInSpan(150, 120), 100);
    EXPECT_EQ(arb::ZoomedOutSpan(250, 10), 10);
}

TEST(ArbIndex, TypedAndSpunIndexesStayWithinTheEditablePoints) {
    GeneratorWave wave;  // 1000 samples, 1000 points per cycle
    EXPECT_EQ(arb::TypedIndex(wave, 5000), 999);
    EXPECT_EQ(arb::TypedIndex(wave, -3), 0);
    EXPECT_EQ(arb::SpunIndex(wave, 998, +1), 999);
    EXPECT_EQ(arb::SpunIndex(wave, 999, +1), 999);
    EXPECT_EQ(arb::SpunIndex(wave, 1, -1), 0);
    EXPECT_EQ(arb::SpunIndex(wave, 0, -1), 0);
    // A loaded file of 10 samples keeps the 1000 points per cycle: the index
    // must still stop at the last sample.
    wave.sampleCount = 10;
    EXPECT_EQ(arb::TypedIndex(wave, 5000), 9);
    EXPECT_EQ(arb::SpunIndex(wave, 9, +1), 9);
}

TEST(ArbDraw, FillsStrictlyBetweenOnTheStraightLineInEitherDirection) {
    for (const bool forward : {true, false}) {
        GeneratorWave wave;
        wave.samples.fill(0.0f);
        const int from = forward ? 10 : 20;
        const int to = forward ? 20 : 10;
        wave.samples[static_cast<std::size_t>(from)] = 1.0f;
        arb::DrawSample(wave, from, to, 3.0);
        EXPECT_FLOAT_EQ(wave.samples[static_cast<std::size_t>(to)], 3.0f);
        EXPECT_FLOAT_EQ(wave.samples[static_cast<std::size_t>(from)], 1.0f);
        for (int i = 11; i < 20; ++i) {
            const double fraction = forward ? (i - 10) / 10.0 : (20 - i) / 10.0;
            EXPECT_NEAR(wave.samples[static_cast<std::size_t>(i)], 1.0 + 2.0 * fraction, 1e-6)
                << "forward " << forward << " index " << i;
        }
        EXPECT_EQ(wave.samples[9], 0.0f);
        EXPECT_EQ(wave.samples[21], 0.0f);
    }
}

TEST(ArbDraw, IndexesPastTheSampleCountAreKeptInside) {
    GeneratorWave wave;
    wave.sampleCount = 10;
    arb::DrawSample(wave, 2, 5000, 1.0);
    EXPECT_FLOAT_EQ(wave.samples[9], 1.0f);
    EXPECT_EQ(wave.samples[10], 0.0f);
}

TEST(ArbMapping, EdgesAndIndexes) {
    EXPECT_DOUBLE_EQ(arb::VoltsAtY(80, 80, 480), 3.5);
    EXPECT_DOUBLE_EQ(arb::VoltsAtY(480, 80, 480), -3.5);
    EXPECT_DOUBLE_EQ(arb::VoltsAtY(280, 80, 480), 0.0);

    GeneratorWave wave;  // span 250 of 1000, start 0
    const arb::PlotSpan plot{100, 600};
    EXPECT_EQ(arb::IndexAtX(wave, plot, 100), 0);
    EXPECT_EQ(arb::IndexAtX(wave, plot, 120), 10);
    EXPECT_EQ(arb::CursorXForIndex(wave, plot, 10), 121);
    wave.viewStart = 1.0f;
    EXPECT_EQ(arb::FirstShown(wave), 750);
    EXPECT_EQ(arb::IndexAtX(wave, plot, 599), 999);
    EXPECT_EQ(arb::IndexAtX(wave, plot, 5000), 999);

    // A span larger than a small wave, and a start past 1, stay inside it.
    wave.sampleCount = 10;
    wave.viewStart = 3.0f;
    EXPECT_EQ(arb::FirstShown(wave), 0);
    EXPECT_EQ(arb::IndexAtX(wave, plot, 599), 9);
    arb::NormaliseView(wave);
    EXPECT_EQ(wave.viewSpan, 10);
    EXPECT_EQ(wave.viewStart, 1.0f);
}

}  // namespace
}  // namespace oscilane
