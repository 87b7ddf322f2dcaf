// The instrument names both the application's --connect and the zelvo client
// take: what each good text means and why each bad one is refused.
#include "model/connect_target.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

using namespace oscilane;

namespace {

struct GoodCase {
    const char* text;
    ConnectTarget expected;
};

class GoodTargets : public testing::TestWithParam<GoodCase> {};

TEST_P(GoodTargets, NameTheirInstrument) {
    const ConnectTargetParse parsed = ParseConnectTarget(GetParam().text);
    ASSERT_TRUE(parsed.target) << parsed.error;
    EXPECT_EQ(*parsed.target, GetParam().expected);
    EXPECT_TRUE(parsed.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    ConnectTarget, GoodTargets,
    testing::Values(GoodCase{"lan:127.0.0.1", {ZELVO_LINK_LAN, 0, 0x7F000001}},
                    GoodCase{"lan:192.168.1.100", {ZELVO_LINK_LAN, 0, 0xC0A80164}},
                    GoodCase{"lan:255.255.255.255", {ZELVO_LINK_LAN, 0, 0xFFFFFFFF}},
                    GoodCase{"lan:0.0.0.0", {ZELVO_LINK_LAN, 0, 0}},
                    // Leading zeros stay decimal, as the address field has always read them.
                    GoodCase{"lan:010.001.000.009", {ZELVO_LINK_LAN, 0, 0x0A010009}},
                    GoodCase{"usb:0", {ZELVO_LINK_USB, 0, 0}},
                    GoodCase{"usb:15", {ZELVO_LINK_USB, 15, 0}},
                    GoodCase{"serial:0", {ZELVO_LINK_SERIAL, 0, 0}},
                    GoodCase{"serial:3", {ZELVO_LINK_SERIAL, 3, 0}},
                    GoodCase{"serial:255", {ZELVO_LINK_SERIAL, 255, 0}}));

struct BadCase {
    const char* what;
    const char* text;
    const char* errorStart;
};

class BadTargets : public testing::TestWithParam<BadCase> {};

std::string caseName(const testing::TestParamInfo<BadCase>& param) {
    std::string name = param.param.what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

TEST_P(BadTargets, AreRefusedWithOneLineSayingWhy) {
    const ConnectTargetParse parsed = ParseConnectTarget(GetParam().text);
    EXPECT_FALSE(parsed.target) << GetParam().what;
    EXPECT_EQ(parsed.error.rfind(GetParam().errorStart, 0), 0u)
        << GetParam().what << ": " << parsed.error;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << GetParam().what;
}

constexpr const char* kKinds = "expected lan:ADDRESS, usb:N or serial:N";
constexpr const char* kAddress = "not a dotted IPv4 address";
constexpr const char* kUsb = "not a USB device index 0-15";
constexpr const char* kSerial = "not a serial port number 0-255";

INSTANTIATE_TEST_SUITE_P(
    ConnectTarget, BadTargets,
    testing::Values(BadCase{"empty", "", kKinds}, BadCase{"unknown kind", "tcp:1.2.3.4", kKinds},
                    BadCase{"kind in capitals", "LAN:1.2.3.4", kKinds},
                    BadCase{"kind without colon", "usb", kKinds},
                    BadCase{"bare address", "127.0.0.1", kKinds}, BadCase{"usb 16", "usb:16", kUsb},
                    BadCase{"usb negative", "usb:-1", kUsb},
                    BadCase{"usb with sign", "usb:+1", kUsb}, BadCase{"usb empty", "usb:", kUsb},
                    BadCase{"usb trailing text", "usb:1x", kUsb},
                    BadCase{"usb huge", "usb:99999999999999999999", kUsb},
                    BadCase{"serial 256", "serial:256", kSerial},
                    BadCase{"serial with space", "serial: 1", kSerial},
                    BadCase{"serial name", "serial:com1", kSerial},
                    BadCase{"three fields", "lan:1.2.3", kAddress},
                    BadCase{"five fields", "lan:1.2.3.4.5", kAddress},
                    BadCase{"field over 255", "lan:1.2.3.256", kAddress},
                    BadCase{"four digits", "lan:1.2.3.0004", kAddress},
                    BadCase{"empty field", "lan:1..3.4", kAddress},
                    BadCase{"trailing dot", "lan:1.2.3.4.", kAddress},
                    BadCase{"port given", "lan:1.2.3.4:2001", kAddress},
                    BadCase{"host name", "lan:localhost", kAddress},
                    BadCase{"no address", "lan:", kAddress}),
    caseName);

TEST(DottedAddress, TextAndValueGoBothWays) {
    for (uint32_t address : {0u, 0x7F000001u, 0xC0A80164u, 0xFFFFFFFFu, 0x0A00FF01u})
        EXPECT_EQ(ReadDottedAddress(DottedAddressText(address)), address) << address;
    EXPECT_EQ(DottedAddressText(0x7F0A0B0C), "127.10.11.12");
    EXPECT_EQ(DottedAddressText(0xC0A80164), "192.168.1.100");
    EXPECT_EQ(ReadDottedAddress("127.0.0.5"), 0x7F000005u);
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..3.4", "+1.2.3.4", "1.2.3.4 ",
                            "a.b.c.d", "1.2.3.0004"}) {
        EXPECT_FALSE(ReadDottedAddress(bad)) << bad;
        EXPECT_EQ(NotADottedAddress(bad), std::string(kAddress) + ": " + bad);
    }
}

TEST(BaudRate, OnlyTheTableRatesHaveAnIndex) {
    EXPECT_EQ(BaudIndexOfRate(300), 0);
    EXPECT_EQ(BaudIndexOfRate(9600), 5);
    for (unsigned rate : {0u, 299u, 19200u, 115200u}) EXPECT_FALSE(BaudIndexOfRate(rate)) << rate;
    EXPECT_EQ(BaudRatesText(), "300, 600, 1200, 2400, 4800 or 9600");
}

}  // namespace
