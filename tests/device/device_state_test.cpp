// Derived connection values and the process-wide device tables.
#include <gtest/gtest.h>

#include <numeric>

#include "device/connect_target.h"
#include "device/device_link.h"
#include "device/device_tables.h"
#include "device/link_settings.h"
#include "scope/scope_session.h"

namespace oscilane {
namespace {

TEST(LinkSettings, HandleCarriesTheLinkKindAboveTheIndex) {
    struct Case {
        Transport transport;
        uint32_t index;
        DeviceHandle handle;
    };
    for (const Case& c : {Case{Transport::Usb, 3, 0x00003}, Case{Transport::Serial, 2, 0x10002},
                          Case{Transport::Lan, 0, 0x20000}}) {
        LinkSettings s;
        s.transport = c.transport;
        s.deviceIndex = c.index;
        EXPECT_EQ(deviceHandle(s), c.handle) << "transport " << static_cast<int>(c.transport);
    }
}

TEST(LinkSettings, ScopeCyclePeriodIsTheIntervalPlus160Ms) {
    struct Case {
        uint16_t mode;
        uint16_t interval;
        int periodMs;
    };
    for (const Case& c : {Case{kUpdateAutomatic, 0, 360}, Case{kUpdateAutomatic, 1, 660},
                          Case{kUpdateAutomatic, 6, 20160}, Case{kUpdateAutomatic, 7, 360},
                          Case{kUpdateAutomatic, 0xFFFF, 360}, Case{kUpdateSingle, 4, 200}}) {
        const auto sleeps = scopeCycleSleepsMs(c.mode, c.interval);
        EXPECT_EQ(std::accumulate(sleeps.begin(), sleeps.end(), 0), c.periodMs)
            << "mode " << c.mode << " interval " << c.interval;
    }
}

// The address texts themselves are the model's (connect_target_test); the
// dialog's wrapper only adds QString and leaves a refused address untouched.
TEST(LinkSettings, DottedAddressesRoundTripAndAFailedReadLeavesTheAddress) {
    uint32_t address = 0;
    ASSERT_TRUE(parseDottedAddress(QStringLiteral("127.0.0.5"), &address));
    EXPECT_EQ(address, 0x7F000005u);
    EXPECT_EQ(dottedAddress(0xFFFFFFFF), QStringLiteral("255.255.255.255"));
    address = 42;
    EXPECT_FALSE(parseDottedAddress(QStringLiteral("1.2.3.256"), &address));
    EXPECT_EQ(address, 42u);
}

TEST(LinkSettings, DeviceTextsStopAtTheFieldEvenWithoutATerminator) {
    DeviceInfo info{};
    std::fill(std::begin(info.serialNumber), std::end(info.serialNumber), 'S');
    std::strcpy(info.name, "Zelvo");
    EXPECT_EQ(deviceName(info), QStringLiteral("Zelvo"));
    EXPECT_EQ(serialNumber(info).size(), 20);
}

class DeviceTablesTest : public ::testing::Test {
  protected:
    void SetUp() override { tables.clear(); }
    void TearDown() override { tables.clear(); }
    DeviceTables& tables = DeviceTables::instance();
};

TEST_F(DeviceTablesTest, AnEntryIsClaimedOnceUntilReleased) {
    EXPECT_TRUE(tables.claim(Transport::Lan, 0));
    EXPECT_FALSE(tables.claim(Transport::Lan, 0));
    // The other transports' entries of the same index are not touched.
    EXPECT_FALSE(tables.isConnected(Transport::Usb, 0));
    EXPECT_FALSE(tables.isConnected(Transport::Serial, 0));
    tables.release(Transport::Lan, 0);
    EXPECT_TRUE(tables.claim(Transport::Lan, 0));
}

TEST_F(DeviceTablesTest, IndexesOutsideTheTablesAreNeverClaimed) {
    EXPECT_FALSE(tables.claim(Transport::Usb, kDeviceTableSize));
    EXPECT_FALSE(tables.claim(Transport::Usb, kNoDevice));
    EXPECT_FALSE(tables.claim(static_cast<Transport>(kTransportCount), 0));
    EXPECT_FALSE(tables.entry(Transport::Serial, 16).has_value());
}

}  // namespace
}  // namespace oscilane

namespace oscilane {
namespace {

TEST(ConnectTarget, NamesAnInstrumentAsTheOptionDialogWould) {
    QString error;
    const auto lan = settingsForConnectTarget(QStringLiteral("lan:127.0.0.9"), &error);
    ASSERT_TRUE(lan.has_value());
    EXPECT_EQ(lan->transport, Transport::Lan);
    EXPECT_EQ(lan->deviceIndex, 0u);
    EXPECT_EQ(lan->lanAddress, 0x7F000009u);

    const auto usb = settingsForConnectTarget(QStringLiteral("usb:3"), &error);
    ASSERT_TRUE(usb.has_value());
    EXPECT_EQ(usb->transport, Transport::Usb);
    EXPECT_EQ(usb->deviceIndex, 3u);

    // The test's only serial port does not exist, so no port number is available.
    for (const char* bad :
         {"lan:127.0.0", "usb:16", "usb:-1", "serial:1", "serial:x", "tcp:1", "lan", ""}) {
        error.clear();
        EXPECT_FALSE(settingsForConnectTarget(QString::fromLatin1(bad), &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
    }
}

}  // namespace
}  // namespace oscilane
