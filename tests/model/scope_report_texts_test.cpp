// The text lines of the scope's test report, in each trigger mode.
#include <gtest/gtest.h>

#include "block_builder.h"
#include "model/scope_report_texts.h"

using namespace oscilane;
using scopetest::BlockBuilder;
namespace L = zelvo::layout;

namespace {

constexpr int kAltMode = 2;

TEST(ReportTexts, DateLineHasTwoDigitDayAndMonth) {
    EXPECT_EQ(ReportDateLine({2009, 3, 7, 14, 5, 9}), "Data = 07-03-2009     Time = 14:05:09");
}

TEST(ReportTexts, SamplingRateAndTimePerDivisionInEachMode) {
    struct Case {
        bool alt;
        bool ch1, ch2;
        const char* rateStart;
        const char* time;
    };
    const Case cases[] = {
        {false, true, true, "Sampling Rate = ", "Time/DIV = 1.000ms/div"},
        {true, true, true,
         "Sampling Rate: CH1 = ", "Time/DIV: CH1 = 2.000ms     CH2 = 5.000ms/div"},
        // With CH1 off the line starts at CH2's part.
        {true, false, true, "     CH2 = ", "     CH2 = 5.000ms/div"},
        {true, true, false, "Sampling Rate: CH1 = ", "Time/DIV: CH1 = 2.000ms/div"},
    };
    for (const Case& c : cases) {
        BlockBuilder b;
        b.u16(L::kTimeBase, 19).u16(L::kTriggerMode, c.alt ? kAltMode : 0);
        b.channel(kCh1, L::channel::kShown, c.ch1).channel(kCh2, L::channel::kShown, c.ch2);
        b.channel(kCh1, L::channel::kAltTimeBase, 20).channel(kCh2, L::channel::kAltTimeBase, 21);
        const ScopeSettings s(b.block);
        const std::string rate = ReportSamplingRateLine(s);
        EXPECT_EQ(rate.rfind(c.rateStart, 0), 0u) << rate;
        EXPECT_EQ(rate.find("CH2 = ") != std::string::npos, c.alt && c.ch2) << rate;
        EXPECT_EQ(ReportTimePerDivisionLine(s), c.time);
    }
}

TEST(ReportTexts, ChannelAndMathLines) {
    BlockBuilder b;
    b.shownChannel(kCh2, 9, 50000, 100).channel(kCh2, L::channel::kProbe, 1);
    b.channel(kCh2, L::channel::kCoupling, 0);
    const ScopeSettings s(b.block);
    EXPECT_EQ(ReportVoltLine(s, kCh2), "CH2:  VOLT DIV = 5.00V/div");
    EXPECT_EQ(ReportCouplingLine(s, kCh2), "Input Coupling = AC");
    struct Case {
        uint32_t a, b;
        int op;
        const char* line;
    };
    // FFT names its own source (CH2 here), never sources A and B.
    const Case cases[] = {{0, 1, 0, "Operate: CH1 + CH2"}, {1, 0, 1, "Operate: CH2 - CH1"},
                          {0, 0, 2, "Operate: CH1 X CH1"}, {1, 1, 3, "Operate: CH2 / CH2"},
                          {0, 0, 4, "Operate: FFT CH2"},   {0, 1, 7, "Operate: CH1 + CH2"}};
    for (const Case& c : cases) {
        BlockBuilder m;
        m.u32(L::kMathSourceA, c.a).u32(L::kMathSourceB, c.b).u16(L::kMathOperatorSettings, c.op);
        m.u16(L::kFftSource, 1);
        EXPECT_EQ(ReportMathLine(m.block), c.line);
    }
}

}  // namespace
