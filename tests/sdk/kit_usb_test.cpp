// The developer kit driving the simulated instrument over the simulated USB bus.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "usb_bus_fixture.h"
#include "zelvo/sdkZelvoDLL.h"

namespace zelvo::testing {
namespace {

constexpr DeviceHandle h = ZELVO_HANDLE(ZELVO_LINK_USB, 0);

class KitOverUsb : public UsbLinkTest {
  protected:
    void SetUp() override {
        UsbLinkTest::SetUp();
        uint8_t list[16];
        ASSERT_EQ(KwGetUSBDeviceList(list), 2);
    }
    std::size_t requestCount() {
        return bus_->instrument(0).inspect(
            [](sim::Instrument&, sim::Responder& r) { return r.requests().size(); });
    }
};

TEST_F(KitOverUsb, IndexesAreSentInTheInstrumentsNumbering) {
    ASSERT_EQ(DSOSetVOLTDIV(h, 1, 0), 0);
    EXPECT_EQ(lastRequest(0).second, 0x10004u);
    ASSERT_EQ(DSOSetTimeBase(h, 255, 254), 0);
    EXPECT_EQ(lastRequest(0).second & 0xFF, 0u);
    ASSERT_EQ(DSOSetBW20M(h, 1, 1), 0);
    EXPECT_EQ(lastRequest(0).first, 22u);
}

TEST_F(KitOverUsb, AllSettingsDecodeTheInstrumentsState) {
    ASSERT_EQ(DSOSetVOLTDIV(h, 0, 6), 0);  // kit 6 = instrument 10 = 1 V/div
    KitSettings s{};
    std::vector<int16_t> w[4];
    for (auto& t : w) t.assign(1200, -1);
    ASSERT_EQ(DSOGetAllSetting(h, &s, w[0].data(), w[1].data(), w[2].data(), w[3].data()), 0);
    EXPECT_EQ(s.channels[0].voltsIndex, 6);
    EXPECT_EQ(s.channels[0].voltsValue, 100000u);
    EXPECT_EQ(s.timeBase, 17);  // 1 ms/div is the instrument's index 19
    EXPECT_EQ(s.waveforms[0].sampleCount, 1200u);
    for (int16_t v : w[0]) ASSERT_TRUE(v >= 0 && v <= 255);
    EXPECT_EQ(DSOGetAllSetting(h, &s, w[0].data(), nullptr, w[2].data(), w[3].data()), 1);
}

TEST_F(KitOverUsb, RawSamplesCopyOnlyWhatWasAskedFor) {
    std::vector<uint8_t> ch1(8, 0xAA), ch2(200, 0xAA);
    ASSERT_EQ(DSOGetCh12Data(h, ch1.data(), ch2.data(), 0, 100), 0);
    EXPECT_EQ(ch1, std::vector<uint8_t>(8, 0xAA));
    EXPECT_NE(ch2[0], 0xAA);
    EXPECT_EQ(ch2[100], 0xAA);
    std::vector<uint8_t> big(40000, 0xAA);  // more than the block holds per channel
    ASSERT_EQ(DSOGetChREFData(h, big.data(), 40000), 0);
    EXPECT_EQ(big[32768], 0xAA);
}

TEST_F(KitOverUsb, MeterReadingUsesTheKitsBlock) {
    ASSERT_EQ(DMMSetMeasureMode(h, 0), 0);
    KitDmmInfo info{};
    ASSERT_EQ(DMMGetInfo(h, &info), 0);
    EXPECT_EQ(info.measureMode, 0);
    EXPECT_EQ(info.unitIndex, 0);
    EXPECT_NEAR(info.value, 5.0f, 0.05f);
}

TEST_F(KitOverUsb, SerialAndLanHandlesFailWithoutAnExchange) {
    const std::size_t before = requestCount();
    for (DeviceHandle other :
         {ZELVO_HANDLE(ZELVO_LINK_SERIAL, 0), ZELVO_HANDLE(ZELVO_LINK_LAN, 0)}) {
        EXPECT_EQ(DSOSetCHEnable(other, 0, 1), 1);
        DeviceInfo info{};
        EXPECT_EQ(KwGetDeviceInfo(other, &info), 1);
        EXPECT_EQ(KwGetFunction(other), -1);
    }
    EXPECT_EQ(requestCount(), before);
    EXPECT_EQ(KwNetCheckConnect(h, 7), 0);
}

}  // namespace
}  // namespace zelvo::testing
