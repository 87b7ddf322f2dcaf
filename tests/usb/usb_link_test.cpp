// The whole USB road: ZelvoDLL -> ZelvoDev -> driver -> simulated bus ->
// instrument, with the packet counts of the block reads and the failures
// an instrument on USB can show.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "protocol/frame.h"
#include "usb_bus_fixture.h"
#include "zelvo/ZelvoDLL.h"
#include "zelvo/ZelvoDev.h"

namespace zelvo::testing {
namespace {

constexpr DeviceHandle h0 = ZELVO_HANDLE(ZELVO_LINK_USB, 0);
constexpr DeviceHandle h1 = ZELVO_HANDLE(ZELVO_LINK_USB, 1);

class UsbExchangeTest : public UsbLinkTest {
  protected:
    void SetUp() override {
        UsbLinkTest::SetUp();
        uint8_t list[16];
        ASSERT_EQ(KwGetUSBDeviceList(list), 2);
    }
};

TEST_F(UsbExchangeTest, SettersReachTheInstrumentOfTheirIndex) {
    struct Case {
        const char* name;
        std::function<int(DeviceHandle)> call;
        uint32_t code;
        uint32_t value;
    };
    const Case cases[] = {
        {"DSOSetVOLTDIV", [](DeviceHandle h) { return DSOSetVOLTDIV(h, 1, 9); }, 17, 0x10009},
        {"DSOSetTimeBase", [](DeviceHandle h) { return DSOSetTimeBase(h, 255, 21); }, 28, 0xFF0015},
        {"DMMSetVoltRange", [](DeviceHandle h) { return DMMSetVoltRange(h, 3); }, 47, 3},
        {"KwShowMenu", [](DeviceHandle h) { return KwShowMenu(h, 3); }, 10, 3},
        {"DDSSetPowerOn", [](DeviceHandle h) { return DDSSetPowerOn(h, 1); }, 59, 1},
    };
    for (const Case& c : cases) {
        for (int k : {0, 1}) {
            ASSERT_EQ(c.call(k == 0 ? h0 : h1), 0) << c.name << " on index " << k;
            const DecodedRequest r = lastRequest(k);
            EXPECT_EQ(r.opcode, Opcode::Set) << c.name;
            EXPECT_EQ(r.first, c.code) << c.name;
            EXPECT_EQ(r.second, c.value) << c.name;
        }
    }
}

TEST_F(UsbExchangeTest, GettersAndBlockReadsReturnTheInstrumentsData) {
    ASSERT_EQ(KwChangeFunction(h1, 2), 0);
    EXPECT_EQ(KwGetFunction(h1), 2);
    DeviceInfo info{};
    ASSERT_EQ(KwGetDeviceInfo(h1, &info), 0);
    EXPECT_STREQ(info.serialNumber, "USB-2");
    DmmInfo reading{};
    EXPECT_EQ(DMMGetInfo(h0, &reading), 0);
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    ASSERT_EQ(DSOUploadSetting(h0, block.data()), 0);
    const std::string bitmap = bus_->directory() + "/screen.bmp";
    ASSERT_EQ(KwScreenShoot(h0, bitmap.c_str()), 0);
    std::FILE* f = std::fopen(bitmap.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    std::remove(bitmap.c_str());
}

TEST_F(UsbExchangeTest, BlockReadsTakeOneFirstAnswerAndCeilNOver64Packets) {
    struct Case {
        const char* name;
        std::function<int()> call;
        std::size_t packets;
    };
    DeviceInfo info{};
    DmmInfo reading{};
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    const Case cases[] = {
        {"meter reading, 22 bytes", [&] { return DMMGetInfo(h0, &reading); }, 1 + 1},
        {"device information, 176 bytes", [&] { return KwGetDeviceInfo(h0, &info); }, 1 + 3},
        {"setting block, 10148 bytes", [&] { return DSOUploadSetting(h0, block.data()); }, 1 + 159},
    };
    for (const Case& c : cases) {
        const std::size_t before = server().packetsSent(bus_->port(0));
        const std::size_t requestsBefore = server().transfersReceived(bus_->port(0));
        ASSERT_EQ(c.call(), 0) << c.name;
        EXPECT_EQ(server().packetsSent(bus_->port(0)) - before, c.packets) << c.name;
        EXPECT_EQ(server().transfersReceived(bus_->port(0)) - requestsBefore, 1u) << c.name;
    }
}

TEST_F(UsbExchangeTest, BlockWriteGoesOutInChunksOf4096) {
    std::vector<uint16_t> samples(4096);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint16_t>(i * 7);
    const std::size_t before = server().transfersReceived(bus_->port(0));
    ASSERT_EQ(DDSDownload(h0, static_cast<uint32_t>(samples.size()), samples.data()), 0);
    // The announcement, then 8192 bytes in two chunks.
    EXPECT_EQ(server().transfersReceived(bus_->port(0)) - before, 3u);
    const auto stored = bus_->instrument(0).inspect(
        [](sim::Instrument& i, sim::Responder&) { return i.generator().samples; });
    EXPECT_EQ(stored, samples);
}

TEST_F(UsbExchangeTest, SilentInstrumentFailsInsteadOfHanging) {
    sim::Faults silent;
    silent.silent = true;
    bus_->instrument(0).setFaults(silent);
    auto call = std::async(std::launch::async, [] { return DSOSetStatus(h0, 1); });
    ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(call.get(), 1);
    bus_->instrument(0).setFaults({});
    EXPECT_EQ(DSOSetStatus(h0, 1), 0);  // the link recovers with the instrument
    EXPECT_EQ(DSOSetStatus(h1, 1), 0);  // the other instrument was never affected
}

std::atomic<int> arrivals{0};
void ZDEV_CALL countArrivals(uint32_t event) {
    if (event == ZDEV_EVENT_ARRIVED) ++arrivals;
}

TEST_F(UsbExchangeTest, UnpluggedInstrumentFailsItsExchangesAndTheProbe) {
    ASSERT_EQ(ZdevSetDeviceNotify(0, nullptr, countArrivals), 1);
    server().unplug(bus_->port(0));
    EXPECT_EQ(KwUSBCheckConnect(h0), 1);
    EXPECT_EQ(DSOSetStatus(h0, 1), 1);
    EXPECT_EQ(KwUSBCheckConnect(h1), 0);
    server().plug(bus_->port(0));
    // The driver takes the departure and the arrival on its own thread; until
    // it has, an exchange may still meet the departed device (and the
    // application's next cycle tries again).  Its plug event says it has.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (arrivals.load() == 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(ZdevSetDeviceNotify(0, nullptr, nullptr), 1);
    ASSERT_EQ(arrivals.load(), 1);
    // As the application does, the replugged instrument is found by listing again.
    uint8_t list[16];
    EXPECT_EQ(KwGetUSBDeviceList(list), 2);
    EXPECT_EQ(KwUSBCheckConnect(h0), 0);
    EXPECT_EQ(DSOSetStatus(h0, 1), 0);
}

TEST_F(UsbExchangeTest, UnplugDuringAReadWithoutTimeOutEndsIt) {
    ASSERT_GT(ZdevOpenDevice(0), 15);
    server().setSlowness(bus_->port(0), std::chrono::seconds(30));
    const RequestFrame get = encodeGetRequest(Command::RunStatus);
    uint32_t length = get.size();
    ASSERT_EQ(ZdevWriteData(0, get.data(), &length), 1);
    auto read = std::async(std::launch::async, [] {
        uint8_t reply[64];
        uint32_t n = sizeof reply;
        return ZdevReadData(0, reply, &n);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server().unplug(bus_->port(0));
    ASSERT_EQ(read.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(read.get(), 0);
    ZdevCloseDevice(0);
}

TEST_F(UsbExchangeTest, ReadOfThreeBytesTakesAWholePacket) {
    ASSERT_GT(ZdevOpenDevice(0), 15);
    ASSERT_EQ(ZdevSetTimeout(0, 1000, 200), 1);
    const RequestFrame get = encodeGetRequest(Command::RunStatus);
    uint32_t length = get.size();
    ASSERT_EQ(ZdevWriteData(0, get.data(), &length), 1);
    uint8_t reply[8] = {};
    uint32_t n = 3;
    ASSERT_EQ(ZdevReadData(0, reply, &n), 1);
    EXPECT_EQ(n, 3u);
    // The rest of the packet went with it: nothing is left to read.
    n = 3;
    EXPECT_EQ(ZdevReadData(0, reply, &n), 0);
    EXPECT_EQ(n, 0u);
    ZdevCloseDevice(0);
}

// An instrument that streams more packets than the block holds: the read
// cannot tell where the block ends, so it fails, and the surplus is gone
// before the next exchange, which would otherwise take it for its reply.
TEST_F(UsbExchangeTest, OverlongBlockFailsAndLeavesNothingForTheNextExchange) {
    std::vector<uint8_t> good(ZELVO_SETTING_BLOCK_SIZE);
    ASSERT_EQ(DSOUploadSetting(h0, good.data()), 0);
    ASSERT_EQ(KwChangeFunction(h0, 2), 0);

    sim::Faults overlong;
    overlong.overlongBlockReplies = true;
    bus_->instrument(0).setFaults(overlong);
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    EXPECT_EQ(DSOUploadSetting(h0, block.data()), 1);
    bus_->instrument(0).setFaults({});

    EXPECT_EQ(KwGetFunction(h0), 2);
    std::vector<uint8_t> again(ZELVO_SETTING_BLOCK_SIZE, 0xCD);
    ASSERT_EQ(DSOUploadSetting(h0, again.data()), 0);
    // The channel records are as before (the traces move with the signal's
    // noise), and none of the surplus filler made it into the block.
    constexpr std::size_t kChannelRecordsEnd = 392;
    EXPECT_TRUE(std::equal(good.begin(), good.begin() + kChannelRecordsEnd, again.begin()));
    const std::vector<uint8_t> filler(sim::kUsbPacket, 0xEE);
    EXPECT_EQ(std::search(again.begin(), again.end(), filler.begin(), filler.end()), again.end());
}

// Closing a link ends a transfer waiting on a silent instrument instead of
// waiting out its one-second time-out; the caller repeats the abort until
// the call returns, as a window's Disconnect does.
TEST_F(UsbExchangeTest, AnAbortEndsAnExchangeWaitingOnASilentInstrument) {
    EXPECT_EQ(KwAbortExchange(h0), 0);
    EXPECT_EQ(DSOSetStatus(h0, 1), 0) << "between exchanges an abort does nothing";

    sim::Faults silent;
    silent.silent = true;
    bus_->instrument(0).setFaults(silent);
    std::atomic<bool> done{false};
    auto call = std::async(std::launch::async, [&] {
        const int result = DSOSetStatus(h0, 1);
        done = true;
        return result;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto aborted = std::chrono::steady_clock::now();
    while (!done) {
        EXPECT_EQ(KwAbortExchange(h0), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(call.get(), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - aborted, std::chrono::milliseconds(800));

    bus_->instrument(0).setFaults({});
    EXPECT_EQ(DSOSetStatus(h0, 1), 0);
}

// A reply that comes after its read gave up is thrown away before the next
// exchange, which would otherwise take it for its own answer.
TEST_F(UsbExchangeTest, ALateReplyIsNeverTakenAsTheAnswerToTheNextExchange) {
    ASSERT_EQ(KwChangeFunction(h0, 2), 0);
    const auto late = std::chrono::milliseconds(1500);
    sim::Faults faults;
    faults.lateReplies = 1;
    faults.lateDelay = late;
    bus_->instrument(0).setFaults(faults);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(KwGetFunction(h0), -1);
    // The late reply (a value of 2, no acknowledgement) is waiting by now.
    std::this_thread::sleep_until(start + late + std::chrono::milliseconds(300));
    EXPECT_EQ(KwChangeFunction(h0, 5), 0);
    EXPECT_EQ(KwGetFunction(h0), 5);
}

}  // namespace
}  // namespace zelvo::testing
