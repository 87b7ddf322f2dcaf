// The simulated scope behaves as a user of the instrument expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "scope_block_reader.h"

namespace zelvo::sim {
namespace {

namespace L = layout;

class SimulatedScope : public ::testing::Test {
  protected:
    void set(Command c, uint32_t value) { ASSERT_TRUE(instrument.applySet(code(c), value)); }
    ShownBlock block() { return ShownBlock(instrument); }
    static std::pair<int, int> range(const std::vector<int>& codes) {
        const auto [lo, hi] = std::minmax_element(codes.begin(), codes.end());
        return {*lo, *hi};
    }
    // Rising crossings of the level, counted over the trace.
    static int risingCrossings(const std::vector<int>& codes, double level) {
        int n = 0;
        for (std::size_t i = 1; i < codes.size(); ++i)
            n += codes[i - 1] < level && codes[i] >= level;
        return n;
    }
    Instrument instrument{Identity{}, InputSignals{.noiseCodes = 0}};
};

TEST_F(SimulatedScope, TraceConvertsBackToTheInputVoltage) {
    struct Case {
        int voltsIndex, position;
    } cases[] = {{9, 100}, {10, 100}, {9, 60}, {10, 150}};  // 500 mV and 1 V per division
    for (const Case& c : cases) {
        set(Command::VoltsPerDivision, static_cast<uint32_t>(c.voltsIndex));
        set(Command::ChannelPosition, static_cast<uint32_t>(c.position));
        const ShownBlock b = block();
        const auto [lo, hi] = range(b.trace(0));
        // CH1 is a sine of 1 V amplitude about 0 V; one code of tolerance for quantising.
        const double step = tables::kMillivoltsPerDivision[c.voltsIndex] * 8 / 255;
        EXPECT_NEAR(b.millivolts(0, hi), 1000, 1.5 * step) << c.voltsIndex << "/" << c.position;
        EXPECT_NEAR(b.millivolts(0, lo), -1000, 1.5 * step) << c.voltsIndex << "/" << c.position;
    }
}

TEST_F(SimulatedScope, ProbeFactorScalesTheShownVoltsNotTheCodes) {
    set(Command::Probe, 1);  // 10X: 5 V per division shown
    const ShownBlock b = block();
    EXPECT_EQ(b.field32(L::firstChannelRecord(0) + L::channel::kVoltsValue), 50000u);
    const auto [lo, hi] = range(b.trace(0));
    EXPECT_NEAR(b.millivolts(0, hi), 1000, 600);
    EXPECT_LT(hi - lo, 20);  // 1 V peak in 5 V divisions is a small trace
}

TEST_F(SimulatedScope, OneKilohertzAtOneMillisecondPerDivisionShowsTwelvePeriods) {
    const ShownBlock b = block();
    ASSERT_EQ(b.field16(L::kTimeBase), 19);
    const double centre = 255.0 - 60 * 255.0 / 199;
    EXPECT_NEAR(risingCrossings(b.trace(0), centre), 12, 1);
    set(Command::TimeBase, 0xFF0000 | 16);  // 100 us per division: 1.2 periods
    EXPECT_LE(risingCrossings(block().trace(0), centre), 2);
}

TEST_F(SimulatedScope, TimeBaseSelectorZeroIsTheCommonTimeBaseOutsideAltMode) {
    struct Case {
        int triggerMode;
        uint32_t selector;
        int16_t common, alt0, alt1;
    } cases[] = {
        {0, 0, 25, 19, 19}, {0, 255, 25, 19, 19}, {0, 1, 19, 19, 25},
        {2, 0, 19, 25, 19}, {2, 1, 19, 19, 25},   {2, 255, 25, 19, 19},
    };
    for (const Case& c : cases) {
        Instrument fresh{Identity{}, InputSignals{.noiseCodes = 0}};
        ASSERT_TRUE(
            fresh.applySet(code(Command::TriggerMode), static_cast<uint32_t>(c.triggerMode)));
        ASSERT_TRUE(fresh.applySet(code(Command::TimeBase), c.selector << 16 | 25));
        const ScopeState& s = fresh.scope();
        EXPECT_EQ(s.timeBase, c.common) << c.triggerMode << "/" << c.selector;
        EXPECT_EQ(s.altTimeBase[0], c.alt0) << c.triggerMode << "/" << c.selector;
        EXPECT_EQ(s.altTimeBase[1], c.alt1) << c.triggerMode << "/" << c.selector;
    }
}

TEST_F(SimulatedScope, TriggerPutsTheRisingEdgeAtTheHorizontalPosition) {
    for (int position : {150, 75, 240}) {
        set(Command::HorizontalTriggerPosition, 0xFF0000 | static_cast<uint32_t>(position));
        const ShownBlock b = block();
        const std::vector<int> ch1 = b.trace(0);
        const double level =
            255.0 - b.field16(L::firstChannelRecord(0) + L::channel::kTriggerLevel) * 255.0 / 199;
        const std::size_t at = static_cast<std::size_t>(position) * 4;
        EXPECT_LE(ch1[at - 3], level) << position;
        EXPECT_GE(ch1[at + 3], level) << position;
        EXPECT_LT(ch1[at - 10], ch1[at + 10]) << "rising at " << position;
    }
    set(Command::HorizontalTriggerPosition, 0xFF0000 | 150);
    set(Command::TriggerSlope, 0xFF0001);  // falling
    const std::vector<int> ch1 = block().trace(0);
    EXPECT_GT(ch1[600 - 10], ch1[600 + 10]);
}

TEST_F(SimulatedScope, AStoppedInstrumentSendsTheSameTraces) {
    Instrument noisy;  // with noise, every live acquisition differs
    EXPECT_NE(ShownBlock(noisy).trace(0), ShownBlock(noisy).trace(0));
    ASSERT_TRUE(noisy.applySet(code(Command::RunStatus), 1));
    const ShownBlock first(noisy);
    EXPECT_EQ(first.field16(L::kRunStop), 1);
    ASSERT_TRUE(
        noisy.applySet(code(Command::ChannelPosition), 30));  // the knob moves, the data stays
    const ShownBlock second(noisy);
    EXPECT_EQ(first.trace(0), second.trace(0));
    EXPECT_EQ(second.field16(L::firstChannelRecord(0) + L::channel::kPosition), 30);
    EXPECT_EQ(second.field16(L::secondChannelRecord(0) + L::channel::kPosition), 60);
}

TEST_F(SimulatedScope, CouplingGroundIsFlatAndAcRemovesTheDcPart) {
    set(Command::Coupling, 0x10002);  // CH2 GND
    auto [lo, hi] = range(block().trace(1));
    EXPECT_EQ(lo, hi);
    set(Command::Coupling, 0x10001);  // DC: the square wave sits 0.5 V up
    std::vector<int> dc = block().trace(1);
    set(Command::Coupling, 0x10000);  // AC
    std::vector<int> ac = block().trace(1);
    const double dcMean = std::accumulate(dc.begin(), dc.end(), 0.0) / 1200;
    const double acMean = std::accumulate(ac.begin(), ac.end(), 0.0) / 1200;
    const double zero = 255.0 - 140 * 255.0 / 199;
    EXPECT_NEAR(acMean, zero, 2);
    EXPECT_NEAR(dcMean - acMean, 0.5 / 0.5 * 255 / 8, 2);  // 0.5 V at 500 mV/div
}

TEST_F(SimulatedScope, InvertTurnsTheTraceOver) {
    // CH2 is timed by the CH1 trigger, so its inverted trace is its mirror image.
    const std::vector<int> normal = block().trace(1);
    set(Command::Invert, 0x10001);
    const std::vector<int> inverted = block().trace(1);
    const double zero = 255.0 - 140 * 255.0 / 199;
    for (std::size_t i = 0; i < 1200; i += 97)
        EXPECT_NEAR(normal[i] - zero, -(inverted[i] - zero), 1.5) << i;
}

TEST_F(SimulatedScope, MathAddsTheSourcesAndFftPeaksAtTheSignalFrequency) {
    set(Command::ChannelEnable, 0x20001);
    set(Command::ChannelPosition, 0x20064);
    set(Command::VoltsPerDivision, 0x2000A);  // 1 V/div
    ShownBlock b = block();
    EXPECT_EQ(b.field32(L::waveformRecord(2) + L::waveform::kSampleCount), 1200u);
    for (std::size_t i = 0; i < 1200; i += 111) {
        const double sum = b.millivolts(0, b.sample(0, i)) + b.millivolts(1, b.sample(1, i));
        EXPECT_NEAR(b.millivolts(2, b.sample(2, i)), sum, 70) << i;
    }
    set(Command::MathOperator, 4);
    b = block();
    const std::vector<int> spectrum = b.trace(2);
    const auto peak = std::max_element(spectrum.begin() + 5, spectrum.end()) - spectrum.begin();
    // 1024 samples of 10 us: bin k is k * 97.66 Hz, so 1 kHz is bin 10, point 10 * 1200 / 512.
    EXPECT_NEAR(static_cast<double>(peak), 10 * 1200.0 / 512, 4);
}

TEST_F(SimulatedScope, ReferenceIsAStoredCopyOfChannelOne) {
    const std::vector<int> ch1 = block().trace(0);
    set(Command::ChannelEnable, 0x30001);
    const ShownBlock b = block();
    EXPECT_EQ(b.trace(3), ch1);
    EXPECT_EQ(b.field16(L::firstChannelRecord(3) + L::channel::kShown), 1);
    EXPECT_EQ(b.field16(L::secondChannelRecord(3) + L::channel::kPosition), 60);
    set(Command::ChannelPosition, 10);  // CH1 moves on, REF stays
    EXPECT_EQ(block().trace(3), ch1);
}

TEST_F(SimulatedScope, ReferenceSwitchedOnBeforeAnyUploadHoldsATrace) {
    set(Command::ChannelEnable, 0x30001);
    const auto [lo, hi] = range(block().trace(3));
    EXPECT_GT(hi - lo, 100) << "the screen's CH1 sine, not an empty trace";
}

TEST_F(SimulatedScope, RollFillsFromTheLeftAndBlanksTheRest) {
    set(Command::DisplayFormat, 2);
    const ShownBlock b = block();
    const std::size_t rec = L::firstChannelRecord(0);
    EXPECT_EQ(b.field16(rec + L::channel::kBlankMode), 2);
    const int start = b.field16(rec + L::channel::kBlankStart);
    EXPECT_GT(start, 0);
    EXPECT_LT(start, 1200);
    EXPECT_NE(b.sample(0, static_cast<std::size_t>(start - 1)), L::kBlankedSample);
    EXPECT_EQ(b.sample(0, static_cast<std::size_t>(start)), L::kBlankedSample);
    EXPECT_EQ(b.sample(0, 1199), L::kBlankedSample);
    for (int i = 0; i < 12; ++i) block();
    EXPECT_EQ(block().field16(rec + L::channel::kBlankMode), 0);
}

TEST_F(SimulatedScope, SingleSweepStopsAfterOneTrigger) {
    set(Command::TriggerSweep, 2);
    const ShownBlock first = block();
    EXPECT_EQ(first.field16(L::kRunStop), 1);
    EXPECT_EQ(instrument.answerGet(code(Command::RunStatus)), 1u);
}

TEST_F(SimulatedScope, NormalSweepWithoutATriggerKeepsTheLastTrace) {
    Instrument noisy;
    ASSERT_TRUE(noisy.applySet(code(Command::TriggerSweep), 1));
    const std::vector<int> triggered = ShownBlock(noisy).trace(0);
    ASSERT_TRUE(noisy.applySet(code(Command::TriggerLevelPosition), 0xFF0000));  // above the signal
    EXPECT_EQ(ShownBlock(noisy).trace(0), triggered);
}

TEST_F(SimulatedScope, FactorySetupRestoresTheDefaultsAndAutoSetupFitsTheSignal) {
    set(Command::VoltsPerDivision, 13);
    set(Command::TimeBase, 0xFF0000 | 30);
    set(Command::FactorySetup, 0);
    ShownBlock b = block();
    EXPECT_EQ(b.field16(L::firstChannelRecord(0) + L::channel::kVoltsIndex), 9);
    EXPECT_EQ(b.field16(L::kTimeBase), 19);
    set(Command::VoltsPerDivision, 13);
    set(Command::AutoSetup, 1);
    b = block();
    const int index = b.field16(L::firstChannelRecord(0) + L::channel::kVoltsIndex);
    EXPECT_LT(index, 13);
    const auto [lo, hi] = range(b.trace(0));
    EXPECT_GT(hi - lo, 255 / 8 * 2) << "the sine should span at least two divisions";
    EXPECT_LT(hi, 255);
    EXPECT_GT(lo, 0);
}

TEST_F(SimulatedScope, WaveformRecordsLayTheTraceAcrossTheGrid) {
    const ShownBlock b = block();
    const std::size_t w = L::waveformRecord(0);
    EXPECT_EQ(b.field32(w + L::waveform::kStep) * 1200, 300000u);
    EXPECT_EQ(b.field32(w + L::waveform::kOrigin), 0u);
    EXPECT_EQ(b.field16(w + L::waveform::kVector), 1);
    EXPECT_EQ(b.field32(L::waveformRecord(3) + L::waveform::kSampleCount), 0u) << "REF is off";
}

}  // namespace
}  // namespace zelvo::sim
