#include "protocol/value_packing.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

TEST(ValuePacking, SelectorAndValueTakeOnlyTheirLowBytes) {
    struct Case {
        int32_t selector, value;
        uint32_t packed;
    } cases[] = {
        {5, 1, 0x50001},           // channel 5, value 1
        {1, 5, 0x10005},           // the volts step call's swapped order packs this way
        {255, 2, 0xFF0002},        // main trigger selector
        {0x1FF, 0x1FE, 0xFF00FE},  // wider arguments are masked, not carried
        {-1, -1, 0xFF00FF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(packSelectorByte(c.selector, c.value), c.packed) << c.selector << "," << c.value;
}

TEST(ValuePacking, SixteenBitValuesKeepTheirWholeWord) {
    EXPECT_EQ(packSelectorWord(1, 0xABCD), 0x1ABCDu);
    EXPECT_EQ(packSelectorWord(0x102, 300), 0x2012Cu);
}

TEST(ValuePacking, PulseTimeUsesOnlyBitZeroOfTheSelector) {
    EXPECT_EQ(packPulseTime(1, 100), 0x80000064u);
    EXPECT_EQ(packPulseTime(2, 100), 100u);
    EXPECT_EQ(packPulseTime(3, 0xFFFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(packPulseTime(0, 0xFFFFFFFF), 0x7FFFFFFFu);
}

TEST(ValuePacking, TdcLowPartIsAddedUnmaskedSoItOverlapsTheHighPart) {
    EXPECT_EQ(packTdc(1, 0x12345), 0x22345u);
    EXPECT_EQ(packTdc(0x1234, 0x5678), 0x12345678u);
    EXPECT_EQ(packTdc(0x10000, 7), 7u);  // the high part's upper bits leave the word
}

TEST(ValuePacking, CalibrationBytesPackWithoutSignedOverflow) {
    EXPECT_EQ(packCalibration({0x12, 0x34, 0x56, 0x78}), 0x78563412u);
    EXPECT_EQ(packCalibration({255, 255, 255, 255}), 0xFFFFFFFFu);
    EXPECT_EQ(packCalibration({-1, 0, 0, 0}), 0xFFFFFFFFu);  // sent as the caller passed it
    EXPECT_EQ(unpackCalibration(0x78563412u), (std::array<int32_t, 4>{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(unpackCalibration(0xFF000080u), (std::array<int32_t, 4>{0x80, 0, 0, 0xFF}));
}

}  // namespace
}  // namespace zelvo
