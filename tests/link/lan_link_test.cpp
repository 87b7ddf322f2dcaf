// Opening LAN slots and the block exchanges over real loopback UDP.
#include <chrono>
#include <vector>

#include "lan_fixture.h"

namespace zelvo::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr DeviceHandle h = LanInstrumentTest::kHandle;

using LanLink = LanInstrumentTest;

TEST_F(LanLink, InitChecksTheLinkOnce) {
    EXPECT_EQ(lastRequest().opcode, Opcode::Set);
    EXPECT_EQ(lastRequest().first, 1u);
    EXPECT_EQ(lastRequest().second, 1u);
    EXPECT_EQ(requestCount(), 1u);
}

TEST_F(LanLink, InitAgainstASilentInstrumentChecksTwiceThenLeavesTheSlotClosed) {
    KwLanClose(h);
    setFaults({.silent = true});
    const std::size_t before = requestCount();
    const auto start = Clock::now();
    EXPECT_EQ(KwLanInit(h, address().c_str()), 1);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(requestCount() - before, 2u);
    setFaults({});
    // A closed slot fails at once, without a datagram.
    EXPECT_EQ(KwCheckComOK(h), 1);
    EXPECT_EQ(requestCount() - before, 2u);
}

TEST_F(LanLink, InitRetriesOnceWhenTheFirstCheckGoesUnanswered) {
    KwLanClose(h);
    setFaults({.lateReplies = 1, .lateDelay = std::chrono::milliseconds(300)});
    EXPECT_EQ(KwLanInit(h, address().c_str()), 0);
}

TEST_F(LanLink, InitRefusesTextThatIsNotADottedAddress) {
    for (const char* bad : {"", "localhost", "127.0.0", "127.0.0.1.5", "256.0.0.1", "127.0.0.1 "})
        EXPECT_EQ(KwLanInit(ZELVO_HANDLE(ZELVO_LINK_LAN, 1), bad), 1) << bad;
    EXPECT_EQ(KwLanInit(ZELVO_HANDLE(ZELVO_LINK_LAN, 1), nullptr), 1);
}

TEST_F(LanLink, InitOnAnOpenSlotReopensIt) {
    EXPECT_EQ(KwLanInit(h, address().c_str()), 0);
    EXPECT_EQ(KwCheckComOK(h), 0);
}

TEST_F(LanLink, SlotsOutsideTheTableFailWithoutAnExchange) {
    const std::size_t before = requestCount();
    EXPECT_EQ(KwLanInit(ZELVO_HANDLE(ZELVO_LINK_LAN, 16), address().c_str()), 1);
    EXPECT_EQ(KwCheckComOK(ZELVO_HANDLE(ZELVO_LINK_LAN, 16)), 1);
    EXPECT_EQ(KwCheckComOK(ZELVO_HANDLE(ZELVO_LINK_LAN, 0xFFFF)), 1);
    EXPECT_EQ(requestCount(), before);
}

TEST_F(LanLink, OpenAndCloseUseTheLowByteOfTheHandle) {
    // 0x20100 names slot 0 for opening and closing, but slot 256 for exchanges.
    EXPECT_EQ(KwLanInit(0x20100, address().c_str()), 0);
    EXPECT_EQ(KwCheckComOK(h), 0);
    EXPECT_EQ(KwCheckComOK(0x20100), 1);
    KwLanClose(0x20100);
    EXPECT_EQ(KwCheckComOK(h), 1);
}

TEST_F(LanLink, OtherLinkKindsDoNotReachTheLanSlots) {
    const std::size_t before = requestCount();
    EXPECT_EQ(KwCheckComOK(ZELVO_HANDLE(ZELVO_LINK_USB, 0)), 1);
    EXPECT_EQ(KwCheckComOK(ZELVO_HANDLE(3, 0)), 1);  // any other kind is USB
    EXPECT_EQ(requestCount(), before);
}

TEST_F(LanLink, BlockReadSendsOneContinueByteForEachReply) {
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    ASSERT_EQ(DSOUploadSetting(h, block.data()), 0);
    EXPECT_EQ(lastRequest().opcode, Opcode::BlockRead);
    EXPECT_EQ(lastRequest().first, 10148u);
    EXPECT_EQ(lastRequest().second, 3u);
    EXPECT_EQ(continueBytes(), (10148 + 511) / 512);

    DeviceInfo info{};
    ASSERT_EQ(KwGetDeviceInfo(h, &info), 0);
    EXPECT_EQ(continueBytes(), 1);
}

TEST_F(LanLink, GeneratorDownloadSendsTheSampleCountModulo65536) {
    std::vector<uint16_t> samples(70000);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint16_t>(i);
    ASSERT_EQ(DDSDownload(h, 70000, samples.data()), 0);
    EXPECT_EQ(lastRequest().opcode, Opcode::BlockWrite);
    EXPECT_EQ(lastRequest().first, 8928u);
    EXPECT_EQ(lastRequest().second, 9u);
    EXPECT_EQ(blockWriteBytesOnceSettled(8928), 8928u);
    const auto stored =
        inspect([](sim::Instrument& i, sim::Responder&) { return i.generator().samples; });
    ASSERT_EQ(stored.size(), 4464u);
    EXPECT_EQ(stored.front(), 0);
    EXPECT_EQ(stored.back(), 4463);
}

TEST_F(LanLink, RefusedAnnouncementSendsNoData) {
    setFaults({.refuseAcknowledgements = true});
    std::vector<uint16_t> samples(1000, 7);
    EXPECT_EQ(DDSDownload(h, 1000, samples.data()), 1);
    EXPECT_EQ(blockWriteBytes(), 0u);
}

TEST_F(LanLink, EmptyDownloadIsAnnouncedAndSendsNothing) {
    EXPECT_EQ(DDSDownload(h, 65536, nullptr), 0);
    EXPECT_EQ(lastRequest().opcode, Opcode::BlockWrite);
    EXPECT_EQ(lastRequest().first, 0u);
    EXPECT_EQ(blockWriteBytes(), 0u);
}

TEST_F(LanLink, GeneratorFrequencyStoresTheLayoutAndFailsForNonFiniteInput) {
    int16_t points = 0, periods = 0;
    ASSERT_EQ(DDSSetFrequency(h, 200000.0, &points, &periods), 0);
    EXPECT_EQ(points, 4000);
    EXPECT_EQ(periods, 4);
    EXPECT_EQ(lastRequest().second, 0u);
    const std::size_t before = requestCount();
    points = periods = -7;
    EXPECT_EQ(DDSSetFrequency(h, std::numeric_limits<double>::quiet_NaN(), &points, &periods), 1);
    EXPECT_EQ(points, -7);
    EXPECT_EQ(requestCount(), before);
}

}  // namespace
}  // namespace zelvo::testing
