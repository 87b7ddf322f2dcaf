// The settings model: readers against blocks with known values, the tables
// and the sample-to-voltage conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "block_builder.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "model/scope_texts.h"

using namespace oscilane;
using scopetest::BlockBuilder;
namespace L = zelvo::layout;

TEST(ScopeSettings, ChannelReadersUseTheirOwnRecord) {
    BlockBuilder b;
    for (int c = 0; c < 4; ++c) {
        b.channel(c, L::channel::kShown, c % 2)
            .channel(c, L::channel::kVoltsIndex, 4 + c)
            .channel(c, L::channel::kCoupling, c % 3)
            .channel(c, L::channel::kProbe, 3 - c)
            .channel(c, L::channel::kPosition, -5 + 50 * c)
            .channel(c, L::channel::kTriggerLevel, 10 + c)
            .channel(c, L::channel::kAltTimeBase, 20 + c)
            .captured(c, L::channel::kPosition, 150 - c);
        b.u32(L::firstChannelRecord(c) + L::channel::kVoltsValue,
              100000u + static_cast<uint32_t>(c));
        b.u32(L::secondChannelRecord(c) + L::channel::kVoltsValue,
              70000u * static_cast<uint32_t>(c));
    }
    const ScopeSettings s(b.block);
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(s.shown(c), c % 2 == 1);
        EXPECT_EQ(s.voltsIndex(c), 4 + c);
        EXPECT_EQ(s.coupling(c), c % 3);
        EXPECT_EQ(s.probe(c), 3 - c);
        EXPECT_EQ(s.position(c), -5 + 50 * c);  // signed
        EXPECT_EQ(s.triggerLevel(c), 10 + c);
        EXPECT_EQ(s.altTimeBase(c), 20 + c);
        EXPECT_EQ(s.voltsValue10uV(c), 100000u + static_cast<uint32_t>(c));
        EXPECT_EQ(s.capturedVoltsValue10uV(c), 70000u * static_cast<uint32_t>(c));
        EXPECT_EQ(s.capturedPosition(c), 150 - c);
    }
}

TEST(ScopeSettings, TriggerAndGlobalReaders) {
    BlockBuilder b;
    b.u16(L::kMainTrigger + L::trigger::kSource, 2)
        .u16(L::kMainTrigger + L::trigger::kSweep, 1)
        .u16(L::kMainTrigger + L::trigger::kSlope, 1)
        .u16(L::kMainTrigger + L::trigger::kPulseCondition, 5)
        .u32(L::kMainTrigger + L::trigger::kPulseWidth, 2000000000u)
        .u16(L::altTriggerRecord(1) + L::trigger::kType, 1)
        .u16(L::altTriggerRecord(1) + L::trigger::kSlope, 1)
        .u16(L::altTriggerRecord(1) + L::trigger::kPulseCondition, 4)
        .u32(L::altTriggerRecord(1) + L::trigger::kPulseWidth, 77)
        .u16(L::kTimeBase, 37)
        .u16(L::kHorizontalTrigger, 300)
        .u16(L::kRunStop, 1)
        .u16(L::kTriggerMode, 2)
        .u16(L::kDisplayFormat, 1)
        .u16(L::kMathOperatorSettings, 4)
        .u32(L::kFftDbPerDivision, 6)
        .u16(L::kFftSource, 1)
        .u16(L::kFftScale, 1);
    const ScopeSettings s(b.block);
    EXPECT_EQ(s.triggerSource(), 2);
    EXPECT_EQ(s.sweep(), 1);
    EXPECT_EQ(s.edgeSlope(), 1);
    EXPECT_EQ(s.pulseCondition(), 5);
    EXPECT_EQ(s.pulseWidth5ns(), 2000000000u);
    EXPECT_EQ(s.altType(0), 0);
    EXPECT_EQ(s.altType(1), 1);
    EXPECT_EQ(s.altEdgeSlope(1), 1);
    EXPECT_EQ(s.altPulseCondition(1), 4);
    EXPECT_EQ(s.altPulseWidth5ns(1), 77u);
    EXPECT_EQ(s.timeBase(), 37);
    EXPECT_EQ(s.horizontalTrigger(), 300);
    EXPECT_FALSE(s.running());
    EXPECT_TRUE(s.altTrigger());
    EXPECT_TRUE(s.isFormat(DisplayFormat::XY));
    EXPECT_EQ(s.mathOperator(), kFftOperator);
    EXPECT_EQ(s.fftDbIndex(), 6);
    EXPECT_EQ(s.fftSource(), 1);
    EXPECT_EQ(s.fftScale(), 1);
}

TEST(ScopeSettings, TraceLayoutCountIsCappedAndBlankModesGiveIntervals) {
    BlockBuilder b;
    b.trace(0, 250, 1000, 5000, true).trace(1, 250, 0, 600, false);
    b.channel(0, L::channel::kBlankMode, 1).channel(0, L::channel::kBlankEnd, 9);
    b.channel(1, L::channel::kBlankMode, 3)
        .channel(1, L::channel::kBlankStart, 10)
        .channel(1, L::channel::kBlankEnd, 12);
    b.channel(2, L::channel::kBlankStart, 0).channel(2, L::channel::kBlankEnd, 1199);
    b.sample(1, 7, 32767).sample(1, 8, 200);
    const ScopeSettings s(b.block);
    EXPECT_EQ(s.pointCount(0), 1200);
    EXPECT_EQ(s.pointCount(1), 600);
    EXPECT_EQ(s.stepMilliUnits(0), 250u);
    EXPECT_EQ(s.originMilliUnits(0), 1000u);
    EXPECT_TRUE(s.vector(0));
    EXPECT_FALSE(s.vector(1));
    EXPECT_EQ(s.blankInterval(0).first, 0);
    EXPECT_EQ(s.blankInterval(0).last, 9);
    EXPECT_EQ(s.blankInterval(1).first, 10);
    EXPECT_EQ(s.blankInterval(1).last, 12);
    // Mode 0 blanks nothing, whatever start and end hold.
    EXPECT_GT(s.blankInterval(2).first, s.blankInterval(2).last);
    EXPECT_EQ(s.sample(1, 7), 32767);
    EXPECT_EQ(s.sample(1, 8), 200);
}

TEST(ScopeScales, SampleRateTexts) {
    struct Case {
        int index;
        bool both;
        bool alt;
        const char* text;
    };
    const Case cases[] = {
        {0, true, false, ""},          {2, false, false, ""},
        {3, true, false, "75MSa/s"},   {12, true, false, "75MSa/s"},
        {3, false, false, "150MSa/s"}, {12, true, true, "150MSa/s"},
        {13, true, false, "75MSa/s"},  {14, false, false, "50MSa/s"},
        {19, false, false, "1MSa/s"},  {20, false, false, "500KSa/s"},
        {28, false, false, "1KSa/s"},  {29, false, false, "500Sa/s"},
        {33, false, false, "20Sa/s"},  {37, false, false, "1Sa/s"},
        {38, false, false, "0Sa/s"},   {65535, false, false, "0Sa/s"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SampleRateText(c.index, c.both, c.alt), c.text) << c.index;
}

TEST(ScopeScales, SampleRateFollowsThousandSamplesPerDivisionFrom14) {
    for (int i = 14; i < kTimeBaseIndexCount; ++i)
        EXPECT_DOUBLE_EQ(*SamplesPerSecond(i) * *SecondsPerDivision(i), 1000.0) << i;
}

TEST(ScopeScales, TablesRefuseIndexesTheyDoNotHold) {
    EXPECT_FALSE(MillivoltsPerDivision(-1));
    EXPECT_FALSE(MillivoltsPerDivision(14));
    EXPECT_DOUBLE_EQ(*MillivoltsPerDivision(0), 0.5);
    EXPECT_DOUBLE_EQ(*MillivoltsPerDivision(13), 10000);
    EXPECT_FALSE(SecondsPerDivision(38));
    EXPECT_DOUBLE_EQ(*SecondsPerDivision(33), 50);
    EXPECT_FALSE(FftDecibelsPerDivision(7));
    EXPECT_EQ(*FftDecibelsPerDivision(6), 100);
    EXPECT_EQ(ProbeFactor(4), 1);
    EXPECT_EQ(ProbeFactor(3), 1000);
}

TEST(ScopeScales, EveryTimeListTextNamesItsTimeBase) {
    EXPECT_EQ(TimeListPosition(1), -1);
    EXPECT_EQ(TimeListPosition(38), -1);
    for (int index = 2; index < kTimeBaseIndexCount; ++index) {
        const std::string text =
            scopetext::kTimePerDivision[static_cast<std::size_t>(TimeListPosition(index))];
        double scale = 1;
        std::string number = text;
        for (auto [unit, factor] : {std::pair{"ns", 1e-9}, {"us", 1e-6}, {"ms", 1e-3}, {"s", 1.0}})
            if (text.ends_with(unit)) {
                scale = factor;
                number.resize(number.size() - strlen(unit));
                break;
            }
        EXPECT_NEAR(std::stod(number) * scale / *SecondsPerDivision(index), 1.0, 1e-9) << index;
    }
}

TEST(ScopeScales, SampleToMillivolts) {
    struct Case {
        int code, position, voltsIndex, probe;
        double millivolts;
    };
    const Case cases[] = {
        {255, 0, 10, 0, 0.0},      // top code at lever 0 is the zero line
        {0, 0, 10, 0, -8000.0},    // eight divisions of 1 V below it
        {0, 0, 10, 2, -800000.0},  // a 100X probe multiplies by 100
        {0, 199, 7, 0, 0.0},       // lever at the bottom: code 0 is zero
        {255, 199, 7, 1, 8000.0},  // 100 mV/div, 10X: eight divisions up
        {0, 0, 10, 9, -8000.0},    // an unknown probe index counts as 1X
    };
    for (const Case& c : cases) {
        BlockBuilder b;
        b.channel(1, L::channel::kPosition, c.position)
            .channel(1, L::channel::kVoltsIndex, c.voltsIndex)
            .channel(1, L::channel::kProbe, c.probe);
        EXPECT_NEAR(*SampleMillivolts(ScopeSettings(b.block), 1, c.code), c.millivolts, 1e-6)
            << c.code << " " << c.position;
    }
    BlockBuilder bad;
    bad.channel(0, L::channel::kVoltsIndex, 14);
    EXPECT_FALSE(SampleMillivolts(ScopeSettings(bad.block), 0, 100));
}
