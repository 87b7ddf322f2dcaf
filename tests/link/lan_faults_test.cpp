// Bad or missing replies end the exchange with result 1, within the reply
// budget, and never write past the caller's buffer (the sanitizer build checks that).
#include <chrono>
#include <thread>
#include <vector>

#include "lan_fixture.h"

namespace zelvo::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr DeviceHandle h = LanInstrumentTest::kHandle;

struct FaultCase {
    const char* name;
    sim::Faults faults;
    bool hitsShortReplies;  // replies to sets and gets
    bool hitsBlockReads;
    bool getsFail = hitsShortReplies;  // a get takes whatever value arrives
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kFaultCases[] = {
    {"silent", {.silent = true}, true, true},
    {"foreign", {.foreignSource = true}, true, true},
    {"truncated", {.truncatedReplies = true}, true, false},
    {"garbage", {.garbageReplies = true}, true, false, false},
    {"emptyBlock", {.emptyBlockReplies = true}, false, true},
    {"oversize", {.oversizeReplies = true}, false, true},
};

class LanFaults : public LanInstrumentTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LanFaults, ExchangesTheFaultReachesFailQuickly) {
    const FaultCase& c = GetParam();
    setFaults(c.faults);
    const auto start = Clock::now();
    EXPECT_EQ(KwCheckComOK(h), c.hitsShortReplies ? 1 : 0);
    EXPECT_EQ(KwGetFunction(h) == -1, c.getsFail);

    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE, 0xCD);
    const std::vector<uint8_t> before = block;
    DeviceInfo info{};
    EXPECT_EQ(DSOUploadSetting(h, block.data()), c.hitsBlockReads ? 1 : 0);
    if (c.hitsBlockReads) {
        EXPECT_EQ(block, before) << "a failed upload must leave the block as it was";
    }
    EXPECT_EQ(KwGetDeviceInfo(h, &info), c.hitsBlockReads ? 1 : 0);
    // Four exchanges of at most one reply budget each, with room for a loaded machine.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
}

INSTANTIATE_TEST_SUITE_P(Faults, LanFaults, ::testing::ValuesIn(kFaultCases),
                         [](const auto& param) { return std::string(param.param.name); });

using LanRecovery = LanInstrumentTest;

TEST_F(LanRecovery, ALateReplyIsNeverTakenAsTheAnswerToTheNextExchange) {
    ASSERT_EQ(KwChangeFunction(h, 3), 0);
    ASSERT_EQ(KwWriteTDC(h, 0, 0x77), 0);
    setFaults({.lateReplies = 1, .lateDelay = milliseconds(130)});
    EXPECT_EQ(KwGetFunction(h), -1);  // its reply comes 30 ms after we gave up
    std::this_thread::sleep_for(milliseconds(80));
    uint32_t low = 0, high = 0;
    ASSERT_EQ(KwReadTDC(h, &low, &high), 0);
    EXPECT_EQ(low, 0x77u) << "took the late reply of the function request (3)";
}

TEST_F(LanRecovery, BlockRepliesLongerThanTheRestAreCutToTheBlock) {
    setFaults({.overlongBlockReplies = true});
    std::vector<uint8_t> padded(ZELVO_SETTING_BLOCK_SIZE + 64, 0xAB);
    ASSERT_EQ(DSOUploadSetting(h, padded.data()), 0);
    for (std::size_t i = ZELVO_SETTING_BLOCK_SIZE; i < padded.size(); ++i)
        ASSERT_EQ(padded[i], 0xAB) << "wrote past the block at " << i;
}

TEST_F(LanRecovery, TheLinkWorksAgainOnceTheFaultEnds) {
    setFaults({.silent = true});
    EXPECT_EQ(KwCheckComOK(h), 1);
    setFaults({});
    EXPECT_EQ(KwCheckComOK(h), 0);
}

TEST_F(LanRecovery, AReplyPastTheBudgetFailsTheExchangeWithinTheBudget) {
    // Replies carry no sequence number, so once late replies are in flight a later
    // exchange may meet one of them; only the first exchange is judged here.
    setFaults({.replyDelay = milliseconds(400)});
    const auto start = Clock::now();
    EXPECT_EQ(KwCheckComOK(h), 1);
    EXPECT_LT(Clock::now() - start, milliseconds(350));
}

TEST_F(LanRecovery, AReplyInTimeIsTakenAtOnce) {
    setFaults({.replyDelay = milliseconds(40)});
    EXPECT_EQ(KwCheckComOK(h), 0);
}

}  // namespace
}  // namespace zelvo::testing
