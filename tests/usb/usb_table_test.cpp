// The access library's device table over the simulated bus: enumeration
// states, stable entries across unplug and replug, the index-or-handle rule.
#include "protocol/frame.h"
#include "usb_bus_fixture.h"
#include "zelvo/ZelvoDLL.h"
#include "zelvo/ZelvoDev.h"

namespace zelvo::testing {
namespace {

// Entries never assigned hold state 2 in both of their bits.
constexpr uint32_t kUnassigned = 0xAAAAAAAAu;

uint32_t enumerate() { return static_cast<uint32_t>(ZdevOpenDevice(-1)); }

using UsbTableTest = UsbLinkTest;

TEST_F(UsbTableTest, FreshLoadListsTwoInstrumentsInEntriesZeroAndOne) {
    EXPECT_EQ(enumerate(), (kUnassigned & ~0xFu) | 0x5u);
    uint8_t list[16];
    std::fill_n(list, 16, uint8_t{9});
    EXPECT_EQ(KwGetUSBDeviceList(list), 2);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(list[k], k < 2 ? 1 : 0) << "entry " << k;
}

TEST_F(UsbTableTest, ReplugGivesBackTheOldEntryAndNewcomersTakeFreeOnes) {
    enumerate();
    server().unplug(bus_->port(0));
    EXPECT_EQ(enumerate() & 0xFu, 0x4u);  // entry 0 absent, entry 1 present
    server().plug(bus_->port(2));
    // The newcomer does not take entry 0, which the absent instrument holds.
    EXPECT_EQ(enumerate() & 0x3Fu, 0x14u);
    server().plug(bus_->port(0));
    EXPECT_EQ(enumerate() & 0x3Fu, 0x15u);
    uint8_t list[16];
    EXPECT_EQ(KwGetUSBDeviceList(list), 3);
    DeviceInfo info{};
    ASSERT_EQ(KwGetDeviceInfo(ZELVO_HANDLE(ZELVO_LINK_USB, 0), &info), 0);
    EXPECT_STREQ(info.serialNumber, "USB-1");
}

TEST_F(UsbTableTest, AnIndexNoEnumerationFilledFailsAndStaysFree) {
    EXPECT_EQ(ZdevOpenDevice(0), -1);
    EXPECT_EQ(KwUSBCheckConnect(ZELVO_HANDLE(ZELVO_LINK_USB, 0)), 1);
    EXPECT_EQ(DSOSetStatus(ZELVO_HANDLE(ZELVO_LINK_USB, 0), 1), 1);
    // The failed opens did not mark entry 0 as held by an absent device.
    EXPECT_EQ(enumerate() & 0xFu, 0x5u);
    EXPECT_EQ(KwUSBCheckConnect(ZELVO_HANDLE(ZELVO_LINK_USB, 0)), 0);
}

TEST_F(UsbTableTest, ValuesThatAreNeitherIndexNorOpenHandleFail) {
    enumerate();
    EXPECT_EQ(ZdevOpenDevice(16), -1);
    EXPECT_EQ(ZdevOpenDevice(-2), -1);
    uint8_t buffer[64];
    for (int32_t bad : {16, 17, 4096, -5, 0x7FFFFFFF}) {
        uint32_t length = sizeof buffer;
        EXPECT_EQ(ZdevReadData(bad, buffer, &length), 0) << bad;
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(ZdevCloseDevice(bad), 0) << bad;
    }
    // A handle stops being accepted once it is closed.
    const int32_t h = ZdevOpenDevice(0);
    ASSERT_GT(h, 15);
    EXPECT_NE(ZdevGetUsbID(h), 0u);
    EXPECT_EQ(ZdevCloseDevice(h), 1);
    EXPECT_EQ(ZdevGetUsbID(h), 0u);
    EXPECT_EQ(ZdevGetUsbID(0), 0u);  // the entry's handle was the one closed
}

TEST_F(UsbTableTest, DeviceNameIsStoredInTheEntry) {
    const char* name = ZdevGetDeviceName(1);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name), server().pathOf(bus_->port(1)));
    EXPECT_EQ(ZdevGetDeviceName(2), nullptr);  // only two instruments are there
    EXPECT_EQ(ZdevGetDeviceName(16), nullptr);
    // Entry 1 can be opened by the path it was given, before any enumeration.
    const int32_t h = ZdevOpenDevice(1);
    EXPECT_GT(h, 15);
    ZdevCloseDevice(1);
}

TEST_F(UsbTableTest, DescriptorsIdsAndVersions) {
    enumerate();
    EXPECT_EQ(ZdevGetVersion(), 258u);
    EXPECT_EQ(ZdevGetDrvVersion(), 0u);  // nothing open yet
    ASSERT_GT(ZdevOpenDevice(0), 15);
    EXPECT_EQ(ZdevGetDrvVersion(), 17u);
    EXPECT_EQ(ZdevGetUsbID(0), 0x00011209u);
    uint8_t config[256];
    uint32_t length = sizeof config;
    ASSERT_EQ(ZdevGetConfigDescr(0, config, &length), 1);
    ASSERT_GE(length, 9u);
    EXPECT_EQ(config[1], 0x02);
    EXPECT_EQ(length, static_cast<uint32_t>(config[2] | (config[3] << 8)));
    int32_t status = -1;
    ASSERT_EQ(ZdevGetStatus(0, &status), 1);
    EXPECT_EQ(status, 0x01 + 256 * (0x06 & 6));
    ZdevCloseDevice(0);
}

}  // namespace
}  // namespace zelvo::testing
