// Simulated meter readings decode to what the meter is set to measure.
#include "meter_model.h"

#include <gtest/gtest.h>

#include <span>

#include "protocol/meter_codec.h"
#include "zelvo/command_codes.h"

namespace zelvo::sim {
namespace {

DmmInfo decode(MeterModel& m) {
    const std::vector<uint8_t> b = m.readingBlock();
    DmmInfo info{};
    EXPECT_TRUE(decodeMeterReading(
        std::span<const uint8_t, kMeterBlockSize>(b.data(), kMeterBlockSize), info));
    return info;
}

// The displayed value in base units.
double baseValue(const DmmInfo& info) {
    static constexpr double kPrefix[8] = {1, 1e-9, 1e-6, 1e-3, 1e3, 1e6, 1, 1};
    return info.value * kPrefix[info.prefixIndex & 7];
}

TEST(SimulatedMeter, EachModeReadsItsInput) {
    struct Case {
        uint8_t mode, ac;
        double expected;
        int32_t unit;
    } cases[] = {
        {0, 0, 5.0, 0},   {0, 1, 3.3, 0}, {1, 0, 0.1234, 1}, {2, 0, 4700, 2},
        {3, 0, 0.612, 0}, {4, 0, 3.2, 2}, {5, 0, 47e-9, 3},
    };
    for (const Case& c : cases) {
        MeterModel m;
        m.state().mode = c.mode;
        m.state().ac = c.ac;
        const DmmInfo info = decode(m);
        EXPECT_EQ(info.measureMode, c.mode);
        EXPECT_EQ(info.unitIndex, c.unit);
        EXPECT_EQ(info.ac, c.ac);
        EXPECT_EQ(info.overload, 0);
        EXPECT_NEAR(baseValue(info), c.expected, c.expected * 0.01) << int(c.mode);
    }
}

TEST(SimulatedMeter, ManualRangeReportsItsIndexAndOverloadsBeyondIt) {
    MeterModel m;
    m.state().manualRange = 1;
    for (uint8_t range : {uint8_t{2}, uint8_t{3}, uint8_t{4}, uint8_t{5}}) {
        m.state().voltRange = range;
        const DmmInfo info = decode(m);
        EXPECT_EQ(info.manualRange, 1);
        EXPECT_EQ(info.rangeIndex, range);
        EXPECT_EQ(info.overload, 0);
    }
    m.state().voltRange = 1;  // 600 mV cannot show 5 V
    const DmmInfo info = decode(m);
    EXPECT_EQ(info.rangeIndex, 1);
    EXPECT_EQ(info.overload, 1);
}

TEST(SimulatedMeter, ResistanceRangesFollowTheirPrefix) {
    MeterModel m;
    m.state().mode = 2;
    m.state().manualRange = 1;
    for (uint8_t range : {uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{4}, uint8_t{5}}) {
        m.state().resistanceRange = range;
        EXPECT_EQ(decode(m).rangeIndex, range);
    }
}

TEST(SimulatedMeter, RelativeModeShowsTheDifferenceAndCarriesTheReference) {
    MeterModel m;
    m.setRelative(true);
    const DmmInfo info = decode(m);
    EXPECT_EQ(info.rel, 1);
    EXPECT_NEAR(info.value, 0.0, 0.03);
    EXPECT_EQ(info.decimalScale, 1) << "REL keeps the 6.000 V range of the reference";
    EXPECT_NEAR(info.auxValue, 5.0, 0.02);
}

TEST(SimulatedMeter, CurrentInputChoosesMilliampOrAmpRanges) {
    MeterModel m;
    m.state().mode = 1;
    m.state().milliamps = 1;
    DmmInfo info = decode(m);
    EXPECT_EQ(info.milliamps, 1);
    EXPECT_EQ(info.prefixIndex, 3);
    m.state().milliamps = 0;
    info = decode(m);
    EXPECT_EQ(info.milliamps, 0);
    EXPECT_EQ(info.prefixIndex, 7);
    EXPECT_NEAR(info.value, 0.1234, 0.002);
}

TEST(SimulatedMeter, KitBlockCarriesTheReferenceAsDigits) {
    MeterModel m;
    m.setRelative(true);
    const std::vector<uint8_t> b = m.kitReadingBlock();
    ASSERT_EQ(b.size(), kKitMeterBlockSize);
    const int digits = 1000 * b[15] + 100 * b[16] + 10 * b[17] + b[18];
    EXPECT_NEAR(digits, 5000, 20);
    EXPECT_EQ(b[22], 0);
}

}  // namespace
}  // namespace zelvo::sim
