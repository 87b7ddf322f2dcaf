// The developer kit's decoding of the setting block and the meter reading.
#include "kit_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kit_meter.h"
#include "protocol/byte_order.h"

namespace zelvo::kit {
namespace {

namespace L = layout;
namespace ch = layout::channel;

std::vector<uint8_t> patternBlock() {
    std::vector<uint8_t> b(L::kBlockSize);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 31 + 7);
    return b;
}

TEST(KitSettingsRecord, EveryFieldComesFromItsBlockOffset) {
    const std::vector<uint8_t> block = patternBlock();
    KitSettings out;
    std::memset(&out, 0xEE, sizeof out);
    repackSettings(std::span<const uint8_t, L::kBlockSize>(block.data(), L::kBlockSize), out);
    const auto* r = reinterpret_cast<const uint8_t*>(&out);
    // (record offset, block offset, bytes)
    std::vector<std::tuple<std::size_t, std::size_t, std::size_t>> map;
    for (std::size_t k = 0; k < 4; ++k) {
        for (std::size_t base : {std::size_t{0}, std::size_t{164}}) {
            const std::size_t rec = base + 40 * k, from = (base == 0 ? 0 : 196) + 48 * k;
            for (std::size_t f : {0, 2, 4, 6, 8, 10, 12}) map.push_back({rec + f, from + f, 2});
            map.push_back({rec + 16, from + 16, 4});
            map.push_back({rec + 20, from + 20, 2});
            map.push_back({rec + 22, from + 22, 2});
            map.push_back({rec + 24, from + 24, 2});
            map.push_back({rec + 26, from + 28, 2});
            map.push_back({rec + 28, from + 32, 2});
            for (std::size_t j = 0; j < 5; ++j)
                map.push_back({rec + 30 + 2 * j, from + 36 + 2 * j, 2});
        }
        map.push_back({392 + 16 * k, 456 + 16 * k, 16});
    }
    map.push_back({160, 192, 2});
    map.push_back({324, 388, 2});
    map.push_back({328, 392, 16});
    map.push_back({344, 408, 48});
    for (std::size_t j = 0; j < 9; ++j) map.push_back({456 + 2 * j, 520 + 2 * j, 2});
    map.push_back({476, 544, 4});
    map.push_back({480, 540, 2});
    for (const auto& [to, from, n] : map)
        EXPECT_EQ(std::memcmp(r + to, block.data() + from, n), 0) << "record offset " << to;
    for (std::size_t untouched : {14, 15, 474, 475, 482, 483})
        EXPECT_EQ(r[untouched], 0xEE) << untouched;
}

class KitTrace : public ::testing::Test {
  protected:
    void SetUp() override {
        block.assign(L::kBlockSize, 0);
        for (int k = 0; k < 4; ++k) {
            set16(L::firstChannelRecord(k) + ch::kShown, 1);
            set16(L::firstChannelRecord(k) + ch::kVoltsIndex, 9);    // 500 mV, instrument numbering
            set16(L::secondChannelRecord(k) + ch::kVoltsIndex, 10);  // captured at 1 V
            storeLe32(block, L::firstChannelRecord(k) + ch::kVoltsValue, 50000);
            storeLe32(block, L::waveformRecord(k) + L::waveform::kSampleCount, 1200);
            for (std::size_t i = 0; i < 1200; ++i) setSample(k, i, 150);
        }
        set16(L::firstChannelRecord(0) + ch::kPosition, 99);  // centre (199 - 99) * 1.275 = 127.5
    }
    void set16(std::size_t at, int v) { storeLe16(block, at, static_cast<uint16_t>(v)); }
    void setSample(int k, std::size_t i, int v) { set16(L::traceSamples(k) + 2 * i, v); }
    int sample(int k, std::size_t i) const { return loadLeI16(block, L::traceSamples(k) + 2 * i); }
    SettingBlock view() { return SettingBlock(block.data(), L::kBlockSize); }
    std::vector<uint8_t> block;
};

TEST_F(KitTrace, LiveTracesRescaleByTheCapturedScaleAndStoppedOnesOnlyWhenFine) {
    applyKitIndexes(view());
    rescaleAndClean(view(), 0);  // live: factor T[10] / 50000 = 2
    EXPECT_EQ(sample(0, 0), static_cast<int>(127.5f + 2.0f * (150 - 127.5f)));
    set16(L::kRunStop, 1);
    rescaleAndClean(view(), 1);  // stopped and coarse: untouched
    EXPECT_EQ(sample(1, 0), 150);
    set16(L::firstChannelRecord(2) + ch::kVoltsStep, 1);
    rescaleAndClean(view(), 2);  // MATH, fine: T[9 - 4] / 50000 = 0.04
    EXPECT_EQ(sample(2, 0), static_cast<int>(127.5f + 0.04f * (150 - 127.5f)));
    rescaleAndClean(view(), 3);  // REF always by its captured scale
    EXPECT_EQ(sample(3, 0), 172);
}

TEST_F(KitTrace, CleaningClampsAndBlanksTheInterval) {
    setSample(0, 0, -5);
    setSample(0, 1, 300);
    set16(L::firstChannelRecord(0) + ch::kBlankMode, 2);
    set16(L::firstChannelRecord(0) + ch::kBlankStart, 10);
    set16(L::firstChannelRecord(0) + ch::kBlankEnd, 12);
    set16(L::kRunStop, 1);
    rescaleAndClean(view(), 0);
    EXPECT_EQ(sample(0, 0), 0);
    EXPECT_EQ(sample(0, 1), 255);
    EXPECT_EQ(sample(0, 9), 150);
    for (std::size_t i : {10, 11, 12}) EXPECT_EQ(sample(0, i), L::kBlankedSample);
    EXPECT_EQ(sample(0, 13), 150);
}

TEST_F(KitTrace, BlankIntervalPastTheTraceStaysInside) {
    set16(L::firstChannelRecord(1) + ch::kBlankMode, 1);
    set16(L::firstChannelRecord(1) + ch::kBlankEnd, 5000);
    rescaleAndClean(view(), 1);
    EXPECT_EQ(sample(1, 0), L::kBlankedSample);
    EXPECT_EQ(sample(1, 1199), L::kBlankedSample);
    EXPECT_EQ(loadLe16(block, L::traceSamples(2)), 150) << "the next trace is not touched";
}

TEST_F(KitTrace, NoSamplesMeansTheTraceIsReturnedAsSent) {
    storeLe32(block, L::waveformRecord(0) + L::waveform::kSampleCount, 0);
    setSample(0, 3, 400);
    set16(L::firstChannelRecord(0) + ch::kBlankMode, 1);
    rescaleAndClean(view(), 0);
    EXPECT_EQ(sample(0, 3), 400);
    EXPECT_EQ(sample(0, 0), 150);
}

TEST_F(KitTrace, AnUnusableScaleLeavesTheTraceUnscaled) {
    set16(L::secondChannelRecord(0) + ch::kVoltsIndex, 14);  // past the table
    rescaleAndClean(view(), 0);
    EXPECT_EQ(sample(0, 0), 150);
    storeLe32(block, L::firstChannelRecord(1) + ch::kVoltsValue, 0);  // would divide by zero
    rescaleAndClean(view(), 1);
    EXPECT_EQ(sample(1, 0), 150);
}

TEST(KitIndexes, CountFromZero) {
    std::vector<uint8_t> block(L::kBlockSize, 0);
    storeLe16(block, L::firstChannelRecord(1) + ch::kVoltsIndex, 9);
    storeLe16(block, L::firstChannelRecord(1) + ch::kAltTimeBase, 19);
    storeLe16(block, L::kTimeBase, 2);
    applyKitIndexes(SettingBlock(block.data(), L::kBlockSize));
    EXPECT_EQ(loadLeI16(block, L::firstChannelRecord(1) + ch::kVoltsIndex), 5);
    EXPECT_EQ(loadLeI16(block, L::firstChannelRecord(1) + ch::kAltTimeBase), 17);
    EXPECT_EQ(loadLeI16(block, L::kTimeBase), 0);
    EXPECT_EQ(loadLeI16(block, L::secondChannelRecord(1) + ch::kVoltsIndex), 0) << "captured stay";
}

TEST(KitMeter, RecordCarriesDigitsSignAndTheAuxiliaryNumber) {
    std::array<uint8_t, kKitMeterBlockSize> b{};
    b[1] = '-';
    std::memcpy(&b[2], "1234", 4);
    b[7] = '2';
    b[8] = 0x30;   // auto range, DC
    b[11] = 0x80;  // volts
    b[12] = 0x85;
    b[15] = 0;
    b[16] = 5;
    b[17] = 0;
    b[18] = 7;  // 507
    b[19] = 4;  // stored as 3: x 0.1
    b[20] = 0xA;
    b[21] = 0xB;
    b[22] = 1;  // negative
    KitDmmInfo info;
    std::memset(&info, 0x55, sizeof info);
    ASSERT_TRUE(decodeKitMeterReading(b, info));
    EXPECT_EQ(info.measureMode, 0);
    EXPECT_EQ(info.overload, 0);
    EXPECT_FLOAT_EQ(info.value, -12.34f);
    EXPECT_EQ(info.decimalScale, 2);
    EXPECT_EQ(info.negative, 1);
    EXPECT_EQ(std::vector<uint8_t>(info.digits, info.digits + 4),
              (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(std::vector<uint8_t>(info.zero, info.zero + 3), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(info.barValue, 5);
    EXPECT_EQ(info.barSign, 1);
    EXPECT_FLOAT_EQ(info.auxValue, -50.7f);
    EXPECT_EQ(info.auxDecimalType, 3);
    EXPECT_EQ(info.auxByteA, 0xA);
    EXPECT_EQ(info.auxByteB, 0xB);
    EXPECT_EQ(info.auxSign, 1);
    EXPECT_EQ(info.rangeIndex, 0x55) << "auto range keeps the range index";
}

TEST(KitMeter, OverloadKeepsDigitsAndSignAsTheyWere) {
    std::array<uint8_t, kKitMeterBlockSize> b{};
    std::memcpy(&b[2], " OL ", 4);
    b[1] = '-';
    b[11] = 0x20;  // ohms
    KitDmmInfo info{};
    info.digits[0] = 9;
    ASSERT_TRUE(decodeKitMeterReading(b, info));
    EXPECT_EQ(info.overload, 1);
    EXPECT_EQ(info.digits[0], 9);
    EXPECT_EQ(info.negative, 0);
    b[11] = 0;  // no mode: a failed reading leaves the record
    info.value = 7.0f;
    EXPECT_FALSE(decodeKitMeterReading(b, info));
    EXPECT_EQ(info.value, 7.0f);
}

}  // namespace
}  // namespace zelvo::kit
