// Cursor readouts: the texts each cursor type shows for known settings and
// pixel distances, the trace cursor's point and mark, and the distances that
// have no answer (an empty record, a grid without span).
#include "model/cursor_readouts.h"

#include <gtest/gtest.h>

#include <string>

#include "block_builder.h"
#include "model/scope_scales.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

constexpr int kTenUs = 13;    // 10 us per division
constexpr int kOneVolt = 10;  // volts index of 1 V per division
constexpr int kTenMv = 4;     // 10 mV per division

BlockBuilder scopeAt(int timeBase) {
    BlockBuilder b;
    b.u16(L::kTimeBase, timeBase);
    b.shownChannel(kCh1, kOneVolt, 100000, 0).shownChannel(kCh2, kTenMv, 1000, 0);
    return b;
}

BlockBuilder& fft(BlockBuilder& b, int scale, int dbIndex) {
    b.u16(L::kMathOperatorSettings, kFftOperator).u16(L::kFftScale, scale);
    return b.u32(L::kFftDbPerDivision, static_cast<uint32_t>(dbIndex));
}

}  // namespace

TEST(CursorTimeAndFrequency, ReadTheDistanceOnTheTimeBase) {
    struct Case {
        const char* what;
        int timeBase, channel, dx, w;
        std::string time, frequency;
    };
    const Case cases[] = {
        {"600 of 601 pixels are 12 divisions", kOneMsPerDivision, kCh1, 600, 601, "12.0mS",
         "83.33Hz"},
        {"half the grid", kOneMsPerDivision, kCh1, 300, 601, "6.00mS", "166.7Hz"},
        {"one division", kTenUs, kCh2, 50, 601, "10.0uS", "100.00KHz"},
        {"cursors at one x", kOneMsPerDivision, kCh1, 0, 601, "", "0.000Hz"},
        {"a one-pixel grid has no span", kOneMsPerDivision, kCh1, 1, 1, "", ""},
        {"an empty grid has no span", kOneMsPerDivision, kCh1, 5, 0, "", ""},
        {"a time base past the table reads nothing", 40, kCh1, 100, 601, "", "0.000Hz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BlockBuilder b = scopeAt(c.timeBase);
        const ScopeSettings s(b.block);
        EXPECT_EQ(CursorTime(s, c.channel, c.dx, c.w), c.time);
        EXPECT_EQ(CursorFrequency(s, c.channel, c.dx, c.w), c.frequency);
    }
}

TEST(CursorTimeAndFrequency, AltTriggerUsesTheCursorChannelsOwnTimeBase) {
    BlockBuilder b = scopeAt(kOneMsPerDivision);
    b.u16(L::kTriggerMode, 2)
        .channel(kCh1, L::channel::kAltTimeBase, kTenUs)
        .channel(kCh2, L::channel::kAltTimeBase, kOneMsPerDivision);
    const ScopeSettings s(b.block);
    EXPECT_EQ(CursorTime(s, kCh1, 600, 601), "120uS");
    EXPECT_EQ(CursorTime(s, kCh2, 600, 601), "12.0mS");
    // A channel without a time base of its own reads a zero time.
    EXPECT_EQ(CursorTime(s, kRef, 600, 601), "");
    EXPECT_EQ(CursorFrequency(s, kRef, 600, 601), "0.000Hz");
}

TEST(CursorTimeAndFrequency, FftReadsTheFrequencySpanAndNoTime) {
    // 1 ms per division: 1 MSa/s, 2.5 kHz per FFT division.
    BlockBuilder b = scopeAt(kOneMsPerDivision);
    fft(b, 0, 0);
    const ScopeSettings s(b.block);
    EXPECT_EQ(CursorTime(s, kMath, 300, 601), "");
    EXPECT_EQ(CursorFrequency(s, kMath, 300, 600), "15.00KHz");
    EXPECT_EQ(CursorFrequency(s, kMath, 300, 0), "");
    // CH1 keeps its time readout while MATH shows the FFT.
    EXPECT_EQ(CursorTime(s, kCh1, 300, 601), "6.00mS");

    // In ALT trigger mode the span is w - 1 and the FFT source's own time base counts.
    b.u16(L::kTriggerMode, 2).u16(L::kFftSource, 1).channel(kCh2, L::channel::kAltTimeBase, kTenUs);
    const ScopeSettings alt(b.block);
    EXPECT_EQ(CursorFrequency(alt, kMath, 300, 601), "1.500MHz");
}

TEST(CursorVoltage, ReadsTheVerticalDistanceWithProbeOrDecibels) {
    struct Case {
        const char* what;
        int channel, probe, dy, h;
        bool fftDb;
        std::string text;
    };
    const Case cases[] = {
        {"a division down at 1 V", kCh1, 0, 50, 400, false, "1.00V"},
        {"upwards is negative", kCh1, 0, -100, 400, false, "-2.00V"},
        {"10x probe", kCh1, 1, 50, 400, false, "10.0V"},
        {"10 mV channel", kCh2, 0, 200, 400, false, "40.0mV"},
        {"no height", kCh1, 0, 50, 0, false, ""},
        {"FFT in dB, 10 dB steps", kMath, 0, 100, 400, true, "20.0dB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlockBuilder b = scopeAt(kOneMsPerDivision);
        b.channel(c.channel, L::channel::kProbe, c.probe);
        if (c.fftDb) fft(b, 1, 3);
        const ScopeSettings s(b.block);
        EXPECT_EQ(CursorVoltage(s, c.channel, c.dy, c.h), c.text);
    }
}

TEST(TraceCursor, IndexFollowsTheRecordAndTheRightEdgeTakesTheLastPoint) {
    struct Case {
        int dx, w, count;
        std::optional<int> index;
    };
    const Case cases[] = {
        {0, 600, 1200, 0},
        {300, 600, 1200, 600},
        {599, 600, 1200, 1198},
        {600, 600, 1200, 1199},          // the right edge: i = N becomes the last point
        {601, 600, 1200, std::nullopt},  // i = 1202 lies past N
        {700, 600, 1200, std::nullopt},  // past the record
        {-1, 600, 1200, std::nullopt},
        {10, 600, 0, std::nullopt},   // empty record
        {10, 0, 1200, std::nullopt},  // empty grid
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        EXPECT_EQ(TraceCursorIndex(c.dx, c.w, c.count), c.index);
    }
}

TEST(TraceCursor, ReadsTheSampleUnderTheCursor) {
    BlockBuilder b = scopeAt(kOneMsPerDivision);
    // CH1 at 1 V/div, lever 0: code 255 is 0 V and 255/8 codes make a division,
    // so code 204 is -1.6 V (x10 probe: -16 V) and code 0 is -8 V (-80 V).
    b.trace(kCh1, 250, 0, 1200, true).allSamples(kCh1, 255);
    b.sample(kCh1, 1199, 255 - 51).sample(kCh1, 600, 0);
    b.channel(kCh1, L::channel::kProbe, 1);
    const ScopeSettings s(b.block);
    EXPECT_EQ(TraceVoltage(s, kCh1, 0, 600), "");          // 0 V is below the formatter's range
    EXPECT_EQ(TraceVoltage(s, kCh1, 600, 600), "-16.0V");  // probe counted once
    EXPECT_EQ(TraceVoltage(s, kCh1, 300, 600), "-80.0V");
    EXPECT_EQ(TraceVoltage(s, kCh1, 700, 600), "0.0V");
    EXPECT_EQ(SampleToMillivolts(s, 204, kCh1), -16000.0);
    EXPECT_EQ(SampleToMillivolts(s, 204, kCh1), SampleMillivolts(s, kCh1, 204));
}

TEST(TraceCursor, EmptyRecordSwitchedOffChannelAndBlankedSample) {
    BlockBuilder b = scopeAt(kOneMsPerDivision);
    b.trace(kCh1, 250, 0, 0, true);
    b.trace(kCh2, 250, 0, 1200, true).allSamples(kCh2, 100).sample(kCh2, 0, L::kBlankedSample);
    {
        const ScopeSettings s(b.block);
        EXPECT_EQ(TraceVoltage(s, kCh1, 10, 600), "0.0V");  // N = 0: nothing to divide by
        EXPECT_FALSE(TraceMarkAt(s, kCh1, 10, 600, 400));
        EXPECT_EQ(TraceVoltage(s, kCh2, 0, 600), "");  // blanked: no point there
        EXPECT_FALSE(TraceMarkAt(s, kCh2, 0, 600, 400));
        EXPECT_EQ(TraceVoltage(s, kRef, 10, 600), "");  // not a cursor channel
    }
    b.channel(kCh2, L::channel::kShown, 0);
    const ScopeSettings off(b.block);
    EXPECT_EQ(TraceVoltage(off, kCh2, 300, 600), "");
    EXPECT_FALSE(TraceMarkAt(off, kCh2, 300, 600, 400));
}

TEST(TraceCursor, FftInDecibelsReadsTheMathLevel) {
    BlockBuilder b = scopeAt(kOneMsPerDivision);
    fft(b, 1, 3);  // 10 dB per division; MATH is not shown, the FFT still counts
    b.trace(kMath, 250, 0, 1200, true).allSamples(kMath, 255 - 51);
    const ScopeSettings s(b.block);
    EXPECT_EQ(TraceVoltage(s, kMath, 10, 600), "-16.0dB");
    const std::optional<TraceMark> mark = TraceMarkAt(s, kMath, 10, 600, 400);
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->y, 80);  // 51 codes of 255 below the top of 400 pixels
}

TEST(TraceCursor, MarkStandsOnTheSample) {
    BlockBuilder b = scopeAt(kOneMsPerDivision);
    b.trace(kCh1, 250, 0, 7, true).allSamples(kCh1, 128);
    const ScopeSettings s(b.block);
    // w / N * i with a record shorter than the grid: 600 / 7 * 3 = 257.14.
    const std::optional<TraceMark> mark = TraceMarkAt(s, kCh1, 300, 600, 400);
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->index, 3);
    EXPECT_EQ(mark->x, 257);
    EXPECT_EQ(mark->y, 199);  // (255 - 128) * 400 / 255 = 199.2
    // The mark counts the distance either way from the left edge.
    EXPECT_EQ(TraceMarkAt(s, kCh1, -300, 600, 400)->index, 3);
}
