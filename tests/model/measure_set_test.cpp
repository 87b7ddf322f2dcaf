// The measurement state: the eight slots, which channels the library is
// asked about and with which sample interval, the texts of values the
// library cannot give, and one pass of the real library over known traces.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "block_builder.h"
#include "measure_fake_library.h"
#include "model/measure_set.h"
#include "model/measure_statistics.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"

using namespace oscilane;
using measuretest::fake;
using measuretest::fakeLibrary;
using scopetest::BlockBuilder;
namespace L = zelvo::layout;

namespace {

// The time-base index of a seconds-per-division value.
int timeBaseOf(double secondsPerDiv) {
    for (int i = 0; i < kTimeBaseIndexCount; ++i)
        if (std::fabs(*SecondsPerDivision(i) / secondsPerDiv - 1) < 1e-9) return i;
    ADD_FAILURE() << secondsPerDiv;
    return 0;
}

// CH1, CH2 and MATH shown at 1 V/div, lever 100, main time base 1 ms/div.
BlockBuilder threeChannels() {
    BlockBuilder b;
    for (int c : {kCh1, kCh2, kMath}) b.shownChannel(c, 10, 100000, 100);
    b.u16(L::kTimeBase, timeBaseOf(1e-3));
    return b;
}

MeasureKind kindAt(int k) { return static_cast<MeasureKind>(k); }

}  // namespace

TEST(MeasureSet, NinthMeasurementDropsTheOldest) {
    MeasureSet set(fakeLibrary());
    for (int k = 0; k < kMeasureSlotCount; ++k) {
        set.setCurrentChannel(k % 3);
        set.add(kindAt(k));
    }
    set.setCurrentChannel(kMath);
    set.add(MeasureKind::Frequency);
    EXPECT_EQ(set.activeCount(), kMeasureSlotCount);
    for (int k = 0; k < kMeasureSlotCount - 1; ++k) {
        EXPECT_EQ(set.slot(k).kind, kindAt(k + 1)) << k;
        EXPECT_EQ(set.slot(k).channel, (k + 1) % 3) << k;
        EXPECT_TRUE(set.slot(k).enabled);
    }
    EXPECT_EQ(set.slot(7).kind, MeasureKind::Frequency);
    EXPECT_EQ(set.slot(7).channel, kMath);
}

TEST(MeasureSet, CurrentChannelTakesOnlyTheThreeMeasuredChannels) {
    MeasureSet set(fakeLibrary());
    EXPECT_EQ(set.currentChannel(), kCh1);
    for (int bad : {-1, 3, 255}) set.setCurrentChannel(bad);
    EXPECT_EQ(set.currentChannel(), kCh1);
    set.setCurrentChannel(kCh2);
    EXPECT_EQ(set.currentChannel(), kCh2);
}

TEST(MeasureSet, NoLibraryCallWhileNoMeasurementIsActive) {
    const SettingBlock block = threeChannels().block;
    MeasureSet set(fakeLibrary());
    set.compute(block);
    EXPECT_EQ(fake().calls, 0);

    set.add(MeasureKind::Vpp);
    set.compute(block);
    EXPECT_GT(fake().calls, 0);

    set.clear();
    fake().calls = 0;
    set.compute(block);
    EXPECT_EQ(fake().calls, 0);
    EXPECT_EQ(set.activeCount(), 0);
    for (int k = 0; k < kMeasureSlotCount; ++k) {
        EXPECT_FALSE(set.slot(k).enabled);
        EXPECT_EQ(set.text(k), "*****");
    }
}

TEST(MeasureSet, SampleIntervalByChannelAndTriggerMode) {
    const int mainBase = timeBaseOf(1e-3), ch1Base = timeBaseOf(2e-6), ch2Base = timeBaseOf(5e-5),
              mathBase = timeBaseOf(1e-1);
    struct Case {
        bool alt;
        int channel;
        int expectedBase;
    };
    const Case cases[] = {
        {false, kCh1, mainBase}, {false, kCh2, mainBase}, {false, kMath, mathBase},
        {true, kCh1, ch1Base},   {true, kCh2, ch2Base},   {true, kMath, mathBase},
    };
    for (const Case& c : cases) {
        BlockBuilder b = threeChannels();
        b.u16(L::kTriggerMode, c.alt ? static_cast<int>(TriggerMode::Alt) : 0)
            .channel(kCh1, L::channel::kAltTimeBase, ch1Base)
            .channel(kCh2, L::channel::kAltTimeBase, ch2Base)
            .channel(kMath, L::channel::kAltTimeBase, mathBase);
        MeasureSet set(fakeLibrary());
        set.setCurrentChannel(c.channel);
        set.add(MeasureKind::Period);
        set.compute(b.block);
        EXPECT_DOUBLE_EQ(fake().lastInterval, *SampleIntervalSeconds(c.expectedBase))
            << "alt " << c.alt << " channel " << c.channel;

        // A delay pairs CH1 and CH2 at their own intervals, whatever the slot's channel.
        set.add(MeasureKind::PosDelay);
        set.compute(b.block);
        EXPECT_DOUBLE_EQ(fake().lastDelayIntervals[0],
                         *SampleIntervalSeconds(c.alt ? ch1Base : mainBase));
        EXPECT_DOUBLE_EQ(fake().lastDelayIntervals[1],
                         *SampleIntervalSeconds(c.alt ? ch2Base : mainBase));
    }
}

TEST(MeasureSet, SwitchedOffChannelIsNotMeasuredAndShowsTheInvalidTexts) {
    BlockBuilder b = threeChannels();
    b.channel(kCh2, L::channel::kShown, 0);
    MeasureSet set(fakeLibrary());
    set.setCurrentChannel(kCh2);
    for (int k = 0; k < kMeasureSlotCount; ++k) set.add(kindAt(k));
    set.compute(b.block);
    EXPECT_EQ(fake().preMeasCalls, 2);  // CH1 and MATH
    const char* expected[] = {"CH2:Vpp = *****",   "CH2:Vmax = *****", "CH2:Vmin = *****",
                              "CH2:Vamp = *****",  "CH2:Vtop = *****", "CH2:Vmid = *****",
                              "CH2:Vbase = *****", "CH2:Vavg = *****"};
    for (int k = 0; k < kMeasureSlotCount; ++k) {
        EXPECT_EQ(set.text(k), expected[k]);
        EXPECT_FALSE(set.value(k));
    }
    // Every kind has its own invalid text; the rest read the same way.
    const auto all = measureChannel(b.block, kCh2, fakeLibrary());
    EXPECT_EQ(fake().calls, 2 * 2);  // PreMeas and FindPeriod of CH1 and MATH only
    EXPECT_EQ(all[12].text, "CH2:Period = *****");
    EXPECT_EQ(all[14].text, "CH2:RiseT = *****");
    EXPECT_EQ(all[21].text, "CH2:-Delay1->2 = *****");
}

TEST(MeasureSet, ValuesTheLibraryCannotGiveReadStars) {
    struct Case {
        MeasureKind kind;
        const char* text;
    };
    const Case cases[] = {
        {MeasureKind::Period, "CH1:Period = *****"},
        {MeasureKind::Frequency, "CH1:Frequ = *****"},
        {MeasureKind::PosWidth, "CH1:+Width = *****"},
        {MeasureKind::NegWidth, "CH1:-Width = *****"},
        {MeasureKind::PosDuty, "CH1:+Duty = *****"},
        {MeasureKind::NegDuty, "CH1:-Duty = *****"},
        {MeasureKind::PreShoot, "CH1:Vpre = *****"},
        {MeasureKind::OverShoot, "CH1:Vover = *****"},
        // A negative result is no transition at all, not a fast one.
        {MeasureKind::RiseTime, "CH1:RiseT = *****"},
    };
    const SettingBlock block = threeChannels().block;
    for (double none : {0.0, -1.0}) {
        for (const Case& c : cases) {
            MeasureSet set(fakeLibrary());
            fake().seconds = fake().fraction = fake().hertz = none;
            set.add(c.kind);
            set.compute(block);
            if (none == 0 && c.kind == MeasureKind::RiseTime) continue;  // the bound, below
            EXPECT_EQ(set.text(0), c.text) << none;
            EXPECT_FALSE(set.value(0)) << c.text;
        }
    }
}

TEST(MeasureSet, DelayHasNoValueOnlyWithoutAPairOfCrossings) {
    struct Case {
        bool crossings;
        double seconds;  // what the library returns
        const char* value;
    };
    const Case cases[] = {
        {false, 0, "*****"},
        {false, 3e-6, "*****"},  // no pair: whatever the number
        {true, 0, ""},           // the same signal on both channels
        {true, 5e-9, ""},        // shorter than the time text shows
        {true, -2e-6, "-2.00uS"},
        {true, 1.5e-3, "1.50mS"},
    };
    const SettingBlock block = threeChannels().block;
    for (const Case& c : cases)
        for (MeasureKind kind : {MeasureKind::PosDelay, MeasureKind::NegDelay}) {
            MeasureSet set(fakeLibrary());
            fake().crossings = c.crossings;
            fake().seconds = c.seconds;
            set.add(kind);
            set.compute(block);
            SCOPED_TRACE(std::to_string(c.seconds) + (c.crossings ? " paired" : " unpaired"));
            EXPECT_EQ(set.text(0), std::string("CH1:") + kindText(kind).label + c.value);
            if (c.crossings) {
                ASSERT_TRUE(set.value(0));
                EXPECT_DOUBLE_EQ(*set.value(0), c.seconds);
                EXPECT_FALSE(MeasureCsvValue(set.value(0)).empty());
            } else {
                EXPECT_FALSE(set.value(0));
            }
        }
}

TEST(MeasureSet, EdgeFasterThanOneSampleShowsTheBound) {
    BlockBuilder b = threeChannels();
    b.u16(L::kTimeBase, timeBaseOf(1e-4));  // 1 µs per sample
    MeasureSet set(fakeLibrary());
    set.add(MeasureKind::RiseTime);
    set.add(MeasureKind::FallTime);
    fake().seconds = 0;
    set.compute(b.block);
    EXPECT_EQ(set.text(0), "CH1:RiseT < 1.00uS");
    EXPECT_EQ(set.text(1), "CH1:FallT < 1.00uS");
    EXPECT_FALSE(set.value(0));

    fake().seconds = 2.5e-6;
    set.compute(b.block);
    EXPECT_EQ(set.text(0), "CH1:RiseT = 2.50uS");
    EXPECT_DOUBLE_EQ(*set.value(0), 2.5e-6);
}

TEST(MeasureSet, TextsAndValuesOfEachKindOfResult) {
    BlockBuilder b = threeChannels();
    b.channel(kMath, L::channel::kProbe, 1);  // 10X
    MeasureSet set(fakeLibrary());
    set.setCurrentChannel(kMath);
    for (MeasureKind k : {MeasureKind::Vpp, MeasureKind::OverShoot, MeasureKind::PosDuty,
                          MeasureKind::Frequency, MeasureKind::Period, MeasureKind::NegDelay})
        set.add(k);
    fake().millivolts = 200;
    fake().fraction = 0.4;
    fake().hertz = 1000.4;
    fake().seconds = -2e-6;  // period and delay; a negative period is no period
    set.compute(b.block);
    EXPECT_EQ(set.text(0), "MATH:Vpp = 2.00V");
    EXPECT_DOUBLE_EQ(*set.value(0), 2.0);
    EXPECT_EQ(set.text(1), "MATH:Vover = 40.00%");
    EXPECT_DOUBLE_EQ(*set.value(1), 0.4);
    EXPECT_EQ(set.text(2), "MATH:+Duty = 40.0%");
    EXPECT_EQ(set.text(3), "MATH:Frequ = 1.000KHz");
    EXPECT_EQ(set.text(4), "MATH:Period = *****");
    EXPECT_EQ(set.text(5), "MATH:-Delay1->2 = -2.00uS");
    EXPECT_DOUBLE_EQ(*set.value(5), -2e-6);
}

TEST(MeasureSet, StatisticsTextsAndCsvValues) {
    struct Case {
        MeasureKind kind;
        double value;
        const char* text;
    };
    // Every value the table holds is written, with its unit.
    const Case cases[] = {
        {MeasureKind::Vpp, 2.0, "2.00V"},
        {MeasureKind::Vmin, -0.0025, "-2.50mV"},
        {MeasureKind::Frequency, 1000, "1.00kHz"},
        {MeasureKind::NegDuty, 0.5, "50.0%"},
        {MeasureKind::OverShoot, 0.00123, "0.123%"},
        {MeasureKind::RiseTime, 1e-6, "1.00\u03bcs"},
        {MeasureKind::PosDelay, 5e-9, "5.00ns"},
        {MeasureKind::NegDelay, -5e-9, "-5.00ns"},
        {MeasureKind::PosDelay, 0, "0s"},
        {MeasureKind::Period, 1500, "1.50ks"},
        {MeasureKind::PosDuty, 0, "0%"},
    };
    for (const Case& c : cases) EXPECT_EQ(StatisticsValueText(c.kind, c.value), c.text) << c.value;
    EXPECT_EQ(MeasureCsvValue(std::nullopt), "");
    EXPECT_EQ(MeasureCsvValue(0.001), "0.001");
    EXPECT_EQ(MeasureCsvValue(1000.0), "1000");
    EXPECT_EQ(MeasureCsvValue(-2.5e-9), "-2.5e-09");
    EXPECT_EQ(MeasureCsvValue(std::nan("")), "");
}

// The real library over a 1 kHz square wave sampled every 10 µs.
TEST(MeasureSet, RealLibraryMeasuresAKnownSquareWave) {
    BlockBuilder b = threeChannels();
    b.u16(L::kTimeBase, timeBaseOf(1e-3));  // 10 µs per sample, 100 samples per period
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
        b.sample(kCh1, i, (i + 30) % 100 < 50 ? 200 : 50);
    b.channel(kCh2, L::channel::kShown, 0);
    const auto r = measureChannel(b.block, kCh1);
    EXPECT_EQ(r[13].text, "CH1:Frequ = 1.000KHz");
    EXPECT_EQ(r[12].text, "CH1:Period = 1.00mS");
    EXPECT_EQ(r[16].text, "CH1:+Duty = 50.0%");
    EXPECT_NEAR(*r[0].value, 150 * 8 * 1.0 / 255, 1e-6);  // 150 codes at 1 V/div
    EXPECT_EQ(r[14].text, "CH1:RiseT < 10.0uS");
    EXPECT_EQ(r[20].text, "CH1:+Delay1->2 = *****");  // CH2 is off
}

TEST(MeasureSet, RealLibraryDelayOfTheSameSignalIsZero) {
    BlockBuilder b = threeChannels();
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
        for (int c : {kCh1, kCh2}) b.sample(c, i, (i + 30) % 100 < 50 ? 200 : 50);
    auto r = measureChannel(b.block, kCh1);
    for (int k : {20, 21}) {
        EXPECT_EQ(r[static_cast<std::size_t>(k)].text,
                  std::string("CH1:") + kindText(kindAt(k)).label);
        ASSERT_TRUE(r[static_cast<std::size_t>(k)].value) << k;
        EXPECT_EQ(*r[static_cast<std::size_t>(k)].value, 0.0) << k;
        EXPECT_EQ(MeasureCsvValue(r[static_cast<std::size_t>(k)].value), "0");
    }
    // CH2 flat: no edge to pair with.
    b.allSamples(kCh2, 120);
    r = measureChannel(b.block, kCh1);
    EXPECT_EQ(r[20].text, "CH1:+Delay1->2 = *****");
    EXPECT_EQ(r[21].text, "CH1:-Delay1->2 = *****");
    EXPECT_FALSE(r[20].value);
}

TEST(MeasureStatistics, CountsValidFramesAndRestarts) {
    const SettingBlock block = threeChannels().block;
    MeasureSet set(fakeLibrary());
    MeasureStatistics stats;
    set.add(MeasureKind::Period);
    set.add(MeasureKind::Vpp);
    for (double s : {1e-3, 3e-3, 0.0, 2e-3}) {  // the third frame has no period
        fake().seconds = s;
        set.compute(block);
        stats.addFrame(set);
    }
    const MeasureStats& period = stats.slot(0);
    EXPECT_EQ(period.frames, 3u);
    EXPECT_DOUBLE_EQ(period.minimum, 1e-3);
    EXPECT_DOUBLE_EQ(period.maximum, 3e-3);
    EXPECT_DOUBLE_EQ(period.mean, 2e-3);
    EXPECT_NEAR(period.deviation, std::sqrt(2.0 / 3.0) * 1e-3, 1e-12);
    EXPECT_DOUBLE_EQ(*period.current, 2e-3);
    EXPECT_EQ(stats.slot(1).frames, 4u);
    EXPECT_EQ(stats.slot(2).frames, 0u);

    // An added slot starts at zero; those before it keep counting.
    set.add(MeasureKind::Vmax);
    set.compute(block);
    stats.addFrame(set);
    EXPECT_EQ(stats.slot(0).frames, 4u);
    EXPECT_EQ(stats.slot(2).frames, 1u);

    // The ninth measurement moves the statistics down with their slots.
    for (int k = 3; k < kMeasureSlotCount + 1; ++k) set.add(MeasureKind::Vmin);
    set.compute(block);
    stats.addFrame(set);
    EXPECT_EQ(stats.slot(0).frames, 6u);  // Vpp, counted in every frame
    EXPECT_EQ(stats.slot(1).frames, 2u);  // Vmax
    EXPECT_EQ(stats.slot(7).frames, 1u);

    stats.restart();
    EXPECT_EQ(stats.slot(0).frames, 0u);
    set.compute(block);
    stats.addFrame(set);
    EXPECT_EQ(stats.slot(0).frames, 1u);

    set.clear();
    stats.addFrame(set);
    EXPECT_EQ(stats.slot(0).frames, 0u);
    EXPECT_FALSE(stats.slot(0).current);
}

TEST(MeasureSet, OverlaySlotsMeasureTheOverlaidTrace) {
    // Displayed: CH1 a small square wave.  Overlaid: CH2 a large one.
    BlockBuilder shown = threeChannels();
    BlockBuilder overlaid;
    overlaid.shownChannel(kCh2, 10, 100000, 100).u16(L::kTimeBase, timeBaseOf(1e-3));
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i) {
        shown.sample(kCh1, i, (i / 50) % 2 ? 140 : 110);
        overlaid.sample(kCh2, i, (i / 50) % 2 ? 220 : 30);
    }
    MeasureSet set;
    set.add(MeasureKind::Vpp);  // CH1
    set.setCurrentOverlay();
    set.add(MeasureKind::Vpp);
    EXPECT_TRUE(set.slot(1).overlay);
    EXPECT_FALSE(set.slot(0).overlay);

    set.compute(shown.block);
    EXPECT_EQ(set.text(1), "OVL:Vpp = *****") << "nothing overlaid yet";
    EXPECT_FALSE(set.value(1));

    set.setOverlay(overlaid.block);
    set.compute(shown.block);
    const auto expected = measureChannel(overlaid.block, kCh2)[static_cast<int>(MeasureKind::Vpp)];
    ASSERT_TRUE(expected.value);
    EXPECT_EQ(set.value(1), expected.value);
    EXPECT_EQ(set.text(1), "OVL:" + expected.text.substr(std::string("CH2:").size()));
    EXPECT_EQ(set.value(0),
              measureChannel(shown.block, kCh1)[static_cast<int>(MeasureKind::Vpp)].value);
    EXPECT_NE(set.value(0), set.value(1));

    // Choosing a channel ends the overlay as the current source.
    set.setCurrentChannel(kCh2);
    EXPECT_FALSE(set.currentIsOverlay());
    set.add(MeasureKind::Vpp);
    EXPECT_FALSE(set.slot(2).overlay);
}
