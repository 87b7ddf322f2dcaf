// The display's status line read from setting blocks: which pieces appear,
// their texts and colours, in every trigger mode and with values outside
// their tables.
#include "model/scope_status_line.h"

#include <gtest/gtest.h>

#include <functional>

#include "block_builder.h"

using namespace oscilane;
using scopetest::BlockBuilder;
namespace L = zelvo::layout;

namespace {

constexpr StatusColour kC1 = StatusColour::Ch1;
constexpr StatusColour kC2 = StatusColour::Ch2;
constexpr StatusColour kPlain = StatusColour::Plain;

// CH1 shown at 1 V/div DC, time base index 10 (1 us/div), edge trigger on
// CH1, rising, AUTO, running.
BlockBuilder basic() {
    BlockBuilder b;
    b.shownChannel(0, 10, 100000, 0).channel(0, L::channel::kCoupling, 1);
    b.u16(L::kTimeBase, 10);
    return b;
}

struct Case {
    const char* name;
    std::function<void(BlockBuilder&)> shape;
    std::vector<StatusPiece> line;
};

}  // namespace

TEST(ScopeStatusLine, PiecesFollowTheBlock) {
    const Case cases[] = {
        {"one channel, running",
         [](BlockBuilder&) {},
         {{"CH1 1.00V DC", kC1}, {"M 1.000us", kPlain}, {"T CH1 + AUTO", kC1}, {"RUN", kPlain}}},
        {"both channels, 10X probe on CH2, AC, falling edge on CH2, NORMAL, stopped",
         [](BlockBuilder& b) {
             b.shownChannel(1, 8, 20000, 0).channel(1, L::channel::kProbe, 1);
             b.channel(1, L::channel::kCoupling, 0);
             b.u16(L::kMainTrigger + L::trigger::kSource, 1);
             b.u16(L::kMainTrigger + L::trigger::kSlope, 1);
             b.u16(L::kMainTrigger + L::trigger::kSweep, 1);
             b.u16(L::kRunStop, 1);
         },
         {{"CH1 1.00V DC", kC1},
          {"CH2 2.00V AC", kC2},
          {"M 1.000us", kPlain},
          {"T CH2 - NORMAL", kC2},
          {"STOP", kPlain}}},
        {"hidden CH1, external pulse trigger, single sweep waiting",
         [](BlockBuilder& b) {
             b.channel(0, L::channel::kShown, 0);
             b.u16(L::kTriggerMode, 1);
             b.u16(L::kMainTrigger + L::trigger::kSource, 2);
             b.u16(L::kMainTrigger + L::trigger::kPulseCondition, 5);
             b.u16(L::kMainTrigger + L::trigger::kSweep, 2);
         },
         {{"M 1.000us", kPlain},
          {"T EXT -More SINGLE", StatusColour::ExtTrigger},
          {"SINGLE", kPlain}}},
        {"a single sweep that has stopped",
         [](BlockBuilder& b) {
             b.u16(L::kMainTrigger + L::trigger::kSweep, 2);
             b.u16(L::kRunStop, 1);
         },
         {{"CH1 1.00V DC", kC1}, {"M 1.000us", kPlain}, {"T CH1 + SINGLE", kC1}, {"STOP", kPlain}}},
        {"ALT: a time base per shown channel and a slope per channel",
         [](BlockBuilder& b) {
             b.shownChannel(1, 10, 100000, 0).channel(1, L::channel::kCoupling, 2);
             b.u16(L::kTriggerMode, 2);
             b.channel(0, L::channel::kAltTimeBase, 12).channel(1, L::channel::kAltTimeBase, 20);
             b.u16(L::altTriggerRecord(1) + L::trigger::kType, 1);
             b.u16(L::altTriggerRecord(1) + L::trigger::kPulseCondition, 1);
         },
         {{"CH1 1.00V DC", kC1},
          {"CH2 1.00V GND", kC2},
          {"M1 5.000us", kC1},
          {"M2 2.000ms", kC2},
          {"T ALT", kPlain},
          {"CH1 +", kC1},
          {"CH2 +Equal", kC2},
          {"AUTO", kPlain},
          {"RUN", kPlain}}},
        {"values outside their tables read as unknown",
         [](BlockBuilder& b) {
             b.channel(0, L::channel::kCoupling, 7);
             b.u32(L::firstChannelRecord(0) + L::channel::kVoltsValue, 0);
             b.u16(L::kTimeBase, 900);
             b.u16(L::kMainTrigger + L::trigger::kSource, 9);
             b.u16(L::kMainTrigger + L::trigger::kSlope, 4);
             b.u16(L::kMainTrigger + L::trigger::kSweep, 3);
         },
         {{"CH1 ? ?", kC1}, {"M ?", kPlain}, {"T ? ? ?", kPlain}, {"RUN", kPlain}}},
    };
    for (const Case& c : cases) {
        BlockBuilder b = basic();
        c.shape(b);
        const std::vector<StatusPiece> line = ScopeStatusLine(ScopeSettings(b.block), false);
        ASSERT_EQ(line.size(), c.line.size()) << c.name;
        for (std::size_t i = 0; i < line.size(); ++i) {
            EXPECT_EQ(line[i].text, c.line[i].text) << c.name << " piece " << i;
            EXPECT_EQ(line[i].colour, c.line[i].colour) << c.name << " piece " << i;
        }
    }
}

TEST(ScopeStatusLine, ALostLinkReplacesTheRunStateWhateverTheBlockSays) {
    for (int runStop : {0, 1}) {
        BlockBuilder b = basic();
        b.u16(L::kRunStop, runStop);
        const std::vector<StatusPiece> line = ScopeStatusLine(ScopeSettings(b.block), true);
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), (StatusPiece{"LINK LOST", StatusColour::LinkLost})) << runStop;
        EXPECT_EQ(line.front().text, "CH1 1.00V DC");
        for (const StatusPiece& piece : line) {
            EXPECT_NE(piece.text, "RUN");
            EXPECT_NE(piece.text, "STOP");
        }
    }
}

TEST(ScopeMathLabel, ScaleAndForFftTheFrequencyAndSampleRateOfItsSource) {
    struct Case {
        const char* name;
        std::function<void(BlockBuilder&)> shape;
        const char* label;
    };
    const Case cases[] = {
        {"A + B", [](BlockBuilder&) {}, "MATH: 500mV/DIV"},
        {"FFT of CH1, linear", [](BlockBuilder& b) { b.u16(L::kMathOperatorSettings, 4); },
         "MATH: 500mV/DIV     5.000KHz/DIV     2.000MSa/s"},
        {"FFT of CH2 in dB, ALT mode: CH2's own time base",
         [](BlockBuilder& b) {
             b.u16(L::kMathOperatorSettings, 4).u16(L::kFftSource, 1).u16(L::kFftScale, 1);
             b.u32(L::kFftDbPerDivision, 3).u16(L::kTriggerMode, 2);
             b.channel(1, L::channel::kAltTimeBase, 19);
         },
         "MATH: 10dB/DIV     2.500KHz/DIV     1.000MSa/s"},
    };
    for (const Case& c : cases) {
        BlockBuilder b;
        b.shownChannel(kMath, 9, 50000, 0).u16(L::kTimeBase, 18);
        c.shape(b);
        EXPECT_EQ(ScopeMathLabel(ScopeSettings(b.block)), c.label) << c.name;
    }
}
