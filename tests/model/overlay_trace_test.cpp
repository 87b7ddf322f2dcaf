// A saved trace over a live window: the file's volts and clock converted to
// the live channel's volts/div, lever and time base.
#include <gtest/gtest.h>

#include "block_builder.h"
#include "model/overlay_trace.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

// 1200 samples whose volts are their index divided by `perVolt`.
CaptureTrace ramp(double perVolt) {
    CaptureTrace t;
    for (int i = 0; i < 1200; ++i) t.volts.push_back(i / perVolt);
    return t;
}

TEST(OverlayRuns, ConvertsTheFilesScalesToTheLiveOnes) {
    struct Case {
        const char* what;
        double fileClock;
        OverlayScale live;
        std::size_t points;  // those on the grid
        std::size_t sample;  // checked at
        GridPoint at;
    };
    const Case cases[] = {
        {"same clock", 1e-3, {1, 4, 1e-3}, 1200, 100, {1, 5}},
        {"file slower: stretched past the right edge", 2e-3, {1, 4, 1e-3}, 601, 100, {2, 5}},
        {"file faster: squeezed into half", 1e-3, {1, 4, 2e-3}, 1200, 100, {0.5, 5}},
        {"another volts/div", 1e-3, {0.5, 4, 1e-3}, 1200, 100, {1, 6}},
        {"another zero", 1e-3, {1, 1, 1e-3}, 1200, 200, {2, 3}},
        {"the file's clock unknown", 0, {1, 4, 5e-3}, 1200, 300, {3, 7}},
        {"the live clock unknown", 1e-3, {1, 4, 0}, 1200, 300, {3, 7}},
        {"beyond the top: held at the edge", 1e-3, {1, 4, 1e-3}, 1200, 500, {5, 8}},
    };
    const CaptureTrace trace = ramp(100);  // 1 V per 100 samples
    for (const Case& c : cases) {
        const auto runs = OverlayRuns(trace, c.fileClock, c.live);
        ASSERT_EQ(runs.size(), 1u) << c.what;
        ASSERT_EQ(runs[0].size(), c.points) << c.what;
        EXPECT_DOUBLE_EQ(runs[0][c.sample].x, c.at.x) << c.what;
        EXPECT_DOUBLE_EQ(runs[0][c.sample].y, c.at.y) << c.what;
    }
}

TEST(OverlayRuns, NegativeVoltsStopAtTheBottomAndBlanksSplitTheTrace) {
    CaptureTrace trace = ramp(-100);
    trace.volts[10] = std::nullopt;
    trace.volts[11] = std::nullopt;
    const auto runs = OverlayRuns(trace, 1e-3, {1, 4, 1e-3});
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].size(), 10u);
    EXPECT_NEAR(runs[1].front().x, 0.12, 1e-12) << "sample 12";
    EXPECT_NEAR(runs[1].front().y, 3.88, 1e-12);
    EXPECT_EQ(runs[1].back().y, 0) << "-11.99 V at 1 V/div is below the grid";
    EXPECT_TRUE(
        OverlayRuns(CaptureTrace{0, {std::nullopt, std::nullopt}}, 1e-3, {1, 4, 1e-3}).empty());
}

TEST(LiveOverlayScale, ReadsTheChannelsSettings) {
    BlockBuilder b;
    b.u16(L::kTimeBase, kOneMsPerDivision).shownChannel(kCh2, 10, 100000, 0);
    const auto atTop = LiveOverlayScale(ScopeSettings(b.block), kCh2);
    ASSERT_TRUE(atTop);
    EXPECT_DOUBLE_EQ(atTop->voltsPerDivision, 1);
    EXPECT_DOUBLE_EQ(atTop->zeroDivisions, 8) << "lever 0 puts 0 V on the top edge";
    EXPECT_DOUBLE_EQ(atTop->secondsPerDivision, 1e-3);

    b.channel(kCh2, L::channel::kProbe, 1).channel(kCh2, L::channel::kPosition, 199);
    const auto tenfold = LiveOverlayScale(ScopeSettings(b.block), kCh2);
    ASSERT_TRUE(tenfold);
    EXPECT_DOUBLE_EQ(tenfold->voltsPerDivision, 10) << "10X probe";
    EXPECT_DOUBLE_EQ(tenfold->zeroDivisions, 0);

    b.channel(kCh2, L::channel::kVoltsIndex, 999);
    EXPECT_FALSE(LiveOverlayScale(ScopeSettings(b.block), kCh2));
}

}  // namespace
