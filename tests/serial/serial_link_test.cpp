// The serial link through the exported interface, against simulated
// instruments on pseudo-terminals.
#include <algorithm>
#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "protocol/serial_line.h"
#include "serial_fixture.h"
#include "zelvo/command_codes.h"

namespace zelvo::testing {
namespace {

using SerialLink = SerialLinkTest;
class SerialAtEachBaudIndex : public SerialLinkTest,
                              public ::testing::WithParamInterface<uint16_t> {};

// Replies paced at the line's own rate: the short-reply attempts must carry
// a reply's bytes even at 300 baud, where 4 bytes take 147 ms.
TEST_P(SerialAtEachBaudIndex, InitSetGetReadAndWriteOnAPacedLine) {
    const uint16_t index = GetParam();
    PtyInstrument& pty = line(0);
    pty.server.setPaced(true);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, index), 0);
    // A pseudo-terminal keeps the baud rate (it drops parity and forces 8 bits).
    EXPECT_EQ(pty.server.lineBaud(), kBaudRates[index]);

    EXPECT_EQ(api.changeFunction(kSlot0, 2), 0);
    EXPECT_EQ(api.getFunction(kSlot0), 2);
    DmmInfo reading{};
    EXPECT_EQ(api.meterInfo(kSlot0, &reading), 0);
    const std::array<uint16_t, 8> samples = {1, 2, 3, 0x1113, 0x0D0A, 0xFFFF, 0, 4095};
    ASSERT_EQ(api.download(kSlot0, samples.size(), samples.data()), 0);
    // Block-write data gets no reply: give the instrument a moment to take it in.
    std::vector<uint16_t> arrived;
    for (int wait = 0; wait < 100 && arrived.size() != samples.size(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        arrived = pty.instrument.inspect(
            [](sim::Instrument& i, sim::Responder&) { return i.generator().samples; });
    }
    EXPECT_EQ(arrived, std::vector<uint16_t>(samples.begin(), samples.end()));
}

INSTANTIATE_TEST_SUITE_P(BaudIndex, SerialAtEachBaudIndex, ::testing::Range<uint16_t>(0, 6));

TEST_F(SerialLink, UploadsTheSettingBlockInContinuedReplies) {
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE, 0xCD);
    ASSERT_EQ(api.uploadSetting(kSlot0, block.data()), 0);
    const int continues = line(0).instrument.inspect(
        [](sim::Instrument&, sim::Responder& r) { return r.continueBytes(); });
    EXPECT_EQ(continues, static_cast<int>((kSettingBlockSize + 511) / 512));
    // Binary data bytes that a terminal would translate or swallow arrive intact.
    DeviceInfo info{};
    ASSERT_EQ(api.deviceInfo(kSlot0, &info), 0);
    EXPECT_STREQ(info.serialNumber, sim::Identity{}.serialNumber.c_str());
}

TEST_F(SerialLink, InitFailsAndLeavesTheSlotClosed) {
    struct Case {
        const char* what;
        int port;
        uint16_t baudIndex;
        bool silent;
    };
    const Case cases[] = {
        {"no device at the path", kMissingPort, 5, false},
        {"port without a device", 5, 5, false},
        {"baud index outside the table", kFirstPort, 6, false},
        {"instrument does not answer the link check", kFirstPort, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        line(0).instrument.setFaults({.silent = c.silent});
        EXPECT_EQ(api.comInit(kSlot0, c.port, c.baudIndex), 1);
        line(0).instrument.setFaults({});
        EXPECT_EQ(api.checkComOk(kSlot0), 1) << "the slot must be closed";
    }
}

TEST_F(SerialLink, ReopensTheSamePseudoTerminal) {
    // Some kernels refuse a second parity request on a pseudo-terminal.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0) << "round " << round;
        EXPECT_EQ(api.comClose(kSlot0), 0);
    }
}

TEST_F(SerialLink, APortOpensInOneSlotAtATime) {
    const DeviceHandle slot1 = ZELVO_HANDLE(ZELVO_LINK_SERIAL, 1);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    EXPECT_EQ(api.comInit(slot1, kFirstPort, 5), 1);
    EXPECT_EQ(api.checkComOk(kSlot0), 0);
    api.comClose(kSlot0);
    EXPECT_EQ(api.comInit(slot1, kFirstPort, 5), 0);
}

TEST_F(SerialLink, PortListHoldsThePortsThatOpenPackedFromTheStart) {
    std::array<uint8_t, 16> list;
    list.fill(0xEE);
    ASSERT_EQ(api.comDeviceList(list.data()), kLineCount);
    EXPECT_EQ(std::vector<uint8_t>(list.begin(), list.begin() + kLineCount),
              (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(SerialLink, PortListLeavesAPortThatASlotHoldsAlone) {
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort + 1, 2), 0);
    std::array<uint8_t, 16> list{};
    ASSERT_EQ(api.comDeviceList(list.data()), kLineCount - 1);
    EXPECT_EQ(std::vector<uint8_t>(list.begin(), list.begin() + 3),
              (std::vector<uint8_t>{1, 3, 4}));
    EXPECT_EQ(line(1).server.lineBaud(), 1200u) << "the probe must not reconfigure the line";
    EXPECT_EQ(api.checkComOk(kSlot0), 0);
}

TEST_F(SerialLink, PortPathsComeFromTheEnvironment) {
    char path[256];
    ASSERT_EQ(api.comPortPath(kFirstPort, path, sizeof path), 0);
    EXPECT_EQ(path, line(0).server.path());
    EXPECT_EQ(api.comPortPath(kFirstPort, path, 3), 1) << "too small a buffer";
    EXPECT_EQ(api.comPortPath(0, path, sizeof path), 1) << "unmapped port";
}

}  // namespace
}  // namespace zelvo::testing
