// Faults of the line and of the instrument end the exchange they hit with
// result 1, and leave nothing behind that could answer a later exchange.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "serial_fixture.h"
#include "zelvo/command_codes.h"

namespace zelvo::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct FaultCase {
    const char* name;
    sim::Faults instrument;
    sim::SerialFaults line;
    bool hitsShortReplies;
    bool hitsBlockReads;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kFaultCases[] = {
    {"oversizeHeader", {}, {.oversizeHeader = true}, true, true},
    {"truncated", {}, {.truncatedReplies = true}, true, true},
    {"emptyContinueReply", {.emptyBlockReplies = true}, {}, false, true},
    {"silent", {.silent = true}, {}, true, true},
};

class SerialFaults : public SerialLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SerialFaults, FailTheExchangesTheyHitAndTheLinkRecovers) {
    const FaultCase& c = GetParam();
    PtyInstrument& pty = line(0);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    pty.instrument.setFaults(c.instrument);
    pty.server.setSerialFaults(c.line);

    EXPECT_EQ(api.checkComOk(kSlot0), c.hitsShortReplies ? 1 : 0);
    EXPECT_EQ(api.getFunction(kSlot0) == -1, c.hitsShortReplies);
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE, 0xCD);
    const std::vector<uint8_t> before = block;
    EXPECT_EQ(api.uploadSetting(kSlot0, block.data()), c.hitsBlockReads ? 1 : 0);
    if (c.hitsBlockReads) {
        EXPECT_EQ(block, before);
    }
    const int continues = pty.instrument.inspect(
        [](sim::Instrument&, sim::Responder& r) { return r.continueBytes(); });
    EXPECT_LE(continues, 1) << "an unusable reply ends the block read at once";

    pty.instrument.setFaults({});
    pty.server.setSerialFaults({});
    EXPECT_EQ(api.checkComOk(kSlot0), 0);
    EXPECT_EQ(api.uploadSetting(kSlot0, block.data()), 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, SerialFaults, ::testing::ValuesIn(kFaultCases),
                         [](const auto& param) { return std::string(param.param.name); });

using SerialStaleInput = SerialLinkTest;

TEST_F(SerialStaleInput, NoiseShapedLikeAnAcknowledgementDoesNotAnswerARefusedSet) {
    PtyInstrument& pty = line(0);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    pty.server.setSerialFaults({.noise = true});
    ASSERT_EQ(api.changeFunction(kSlot0, 3), 0);
    pty.instrument.setFaults({.refuseAcknowledgements = true});
    EXPECT_EQ(api.changeFunction(kSlot0, 4), 1);
    // The instrument took the value; only its acknowledgement was refused.
    EXPECT_EQ(api.getFunction(kSlot0), 4);
}

TEST_F(SerialStaleInput, ALateReplyIsNeverTakenAsTheAnswerToTheNextExchange) {
    PtyInstrument& pty = line(0);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    ASSERT_EQ(api.changeFunction(kSlot0, 2), 0);
    const auto late = std::chrono::milliseconds(1500);
    pty.instrument.setFaults({.lateReplies = 1, .lateDelay = late});
    const auto start = Clock::now();
    EXPECT_EQ(api.getFunction(kSlot0), -1);
    // The late reply (a value of 2, no acknowledgement) is waiting by now.
    std::this_thread::sleep_until(start + late + std::chrono::milliseconds(300));
    EXPECT_EQ(api.changeFunction(kSlot0, 5), 0);
    EXPECT_EQ(api.getFunction(kSlot0), 5);
}

using SerialBlockProgress = SerialLinkTest;

TEST_F(SerialBlockProgress, ReportsTheBytesOfARunningUploadAndCancelsIt) {
    PtyInstrument& pty = line(0);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    uint32_t received = 1, total = 1;
    EXPECT_EQ(api.blockProgress(kSlot0, &received, &total), 1) << "nothing runs yet";
    // A cancel while nothing runs must not end the next read.
    EXPECT_EQ(api.cancelBlockRead(kSlot0), 0);
    pty.server.setPaced(true);

    std::atomic<int> result{-1};
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    std::thread upload([&] { result = api.uploadSetting(kSlot0, block.data()); });
    std::vector<uint32_t> seen;
    const auto giveUp = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < giveUp) {
        if (api.blockProgress(kSlot0, &received, &total) == 0) {
            EXPECT_EQ(total, kSettingBlockSize);
            seen.push_back(received);
            if (received >= 1024) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(api.cancelBlockRead(kSlot0), 0);
    upload.join();
    EXPECT_EQ(result, 1) << "a cancelled upload fails";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    ASSERT_FALSE(seen.empty());
    EXPECT_GE(seen.back(), 1024u);
    const int continues = pty.instrument.inspect(
        [](sim::Instrument&, sim::Responder& r) { return r.continueBytes(); });
    EXPECT_LT(continues, 5) << "the read stops at the next reply";

    EXPECT_EQ(api.blockProgress(kSlot0, &received, &total), 1);
    pty.server.setPaced(false);
    EXPECT_EQ(api.uploadSetting(kSlot0, block.data()), 0) << "the cancel does not stick";
    EXPECT_EQ(api.blockProgress(kSlot0, &received, &total), 1);
    EXPECT_EQ(received, kSettingBlockSize);
}

TEST_F(SerialBlockProgress, ACancelEndsAReadWaitingOnAStalledReply) {
    PtyInstrument& pty = line(0);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    pty.server.setPaced(true);
    std::atomic<int> result{-1};
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    std::thread upload([&] { result = api.uploadSetting(kSlot0, block.data()); });
    uint32_t received = 0, total = 0;
    const auto giveUp = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < giveUp &&
           (api.blockProgress(kSlot0, &received, &total) != 0 || received == 0))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The instrument stops answering: the next reply would be awaited for minutes.
    pty.instrument.setFaults({.silent = true});
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const auto cancelled = Clock::now();
    EXPECT_EQ(api.cancelBlockRead(kSlot0), 0);
    upload.join();
    EXPECT_EQ(result, 1);
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(3));
}

// Closing a link ends the exchange under way instead of waiting it out: a
// block read's first answer is awaited for 512 waits of 10 ms, and the abort
// is repeated, as a caller closing the link does, until the call returns.
TEST_F(SerialBlockProgress, AnAbortEndsAnExchangeWaitingOnASilentInstrument) {
    PtyInstrument& pty = line(0);
    ASSERT_EQ(api.comInit(kSlot0, kFirstPort, 5), 0);
    // Between exchanges an abort does nothing.
    EXPECT_EQ(api.abortExchange(kSlot0), 0);
    EXPECT_EQ(api.checkComOk(kSlot0), 0);

    pty.instrument.setFaults({.silent = true});
    std::atomic<bool> done{false};
    std::atomic<int> result{-1};
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    std::thread upload([&] {
        result = api.uploadSetting(kSlot0, block.data());
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto aborted = Clock::now();
    while (!done) {
        EXPECT_EQ(api.abortExchange(kSlot0), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    upload.join();
    EXPECT_EQ(result, 1);
    EXPECT_LT(Clock::now() - aborted, std::chrono::seconds(2)) << "the wait is 5 s long";

    pty.instrument.setFaults({});
    EXPECT_EQ(api.uploadSetting(kSlot0, block.data()), 0) << "the abort does not stick";
}

}  // namespace
}  // namespace zelvo::testing
