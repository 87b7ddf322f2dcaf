// A trace as numbers: the volts of its codes, blanked samples, and the time
// base its samples were taken with in each trigger mode.
#include <gtest/gtest.h>

#include "block_builder.h"
#include "model/scope_settings.h"
#include "model/waveform.h"

using namespace oscilane;
using scopetest::BlockBuilder;
namespace L = zelvo::layout;

namespace {

constexpr int kAltMode = 2;

TEST(Waveform, CodesBecomeVoltsAtTheProbeTip) {
    BlockBuilder b;
    // 1 V/div (volts index 10) at lever 0, 10X probe.
    b.shownChannel(kCh2, 10, 100000, 0).channel(kCh2, L::channel::kProbe, 1);
    b.sample(kCh2, 0, 255).sample(kCh2, 1, 0).sample(kCh2, 2, 32767);
    const Waveform w(b.block, kCh2);
    EXPECT_TRUE(w.shown());
    EXPECT_EQ(w.probeIndex(), 1);
    EXPECT_EQ(w.probeFactor(), 10);
    EXPECT_DOUBLE_EQ(*w.millivoltsPerDivision(), 1000);
    EXPECT_DOUBLE_EQ(w.volts(0), 0.0);
    EXPECT_DOUBLE_EQ(w.volts(1), -80.0);  // eight divisions below zero, times ten
    EXPECT_FALSE(w.blank(1));
    EXPECT_TRUE(w.blank(2));
    EXPECT_EQ(w.code(2), 32767);
}

TEST(Waveform, VoltsIndexOutsideTheTableGivesNoScale) {
    BlockBuilder b;
    b.channel(kCh1, L::channel::kVoltsIndex, 14).sample(kCh1, 0, 100);
    const Waveform w(b.block, kCh1);
    EXPECT_FALSE(w.millivoltsPerDivision());
    EXPECT_EQ(w.volts(0), 0.0);
}

TEST(Waveform, TimeBaseOfEachTraceInEachTriggerMode) {
    struct Case {
        int channel;
        bool alt;
        int expected;
    };
    // Common time base 20; own time bases CH1 21, CH2 22, MATH 23.
    const Case cases[] = {
        {kCh1, false, 20}, {kCh2, false, 20}, {kMath, false, 23}, {kRef, false, 20},
        {kCh1, true, 21},  {kCh2, true, 22},  {kMath, true, 23},  {kRef, true, 20},
    };
    for (const Case& c : cases) {
        BlockBuilder b;
        b.u16(L::kTimeBase, 20).u16(L::kTriggerMode, c.alt ? kAltMode : 0);
        for (int ch = kCh1; ch <= kMath; ++ch) b.channel(ch, L::channel::kAltTimeBase, 21 + ch);
        const Waveform w(b.block, c.channel);
        EXPECT_EQ(w.timeBaseIndex(), c.expected) << c.channel << (c.alt ? " alt" : "");
    }
}

TEST(Waveform, SampleIntervalIsAHundredthOfADivision) {
    BlockBuilder b;
    b.u16(L::kTimeBase, 19);  // 1 ms/div
    EXPECT_DOUBLE_EQ(*Waveform(b.block, kCh1).sampleInterval(), 1e-5);
    b.u16(L::kTimeBase, 38);  // past the table
    EXPECT_FALSE(Waveform(b.block, kCh1).sampleInterval());
}

}  // namespace
