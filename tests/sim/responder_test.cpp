// The simulated instrument's side of the protocol, without any socket.
#include "responder.h"

#include <gtest/gtest.h>

#include "protocol/byte_order.h"
#include "protocol/half_word_swap.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::sim {
namespace {

uint32_t valueOf(const Reply& r) { return loadLe32(r.bytes, 0); }

class ResponderTest : public ::testing::Test {
  protected:
    std::vector<Reply> send(const RequestFrame& f) { return responder.handle(f); }
    std::vector<Reply> sendByte(uint8_t b) { return responder.handle(std::span(&b, 1)); }
    Instrument instrument;
    Responder responder{instrument};
};

TEST_F(ResponderTest, AcknowledgesKnownSetsAndRefusesUnknownOnes) {
    auto replies = send(encodeSetRequest(Command::ChannelEnable, 0x10000));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(valueOf(replies[0]), kAcknowledge);
    EXPECT_EQ(instrument.scope().channels[1].shown, 0);

    replies = responder.handle(encodeSetRequest(static_cast<Command>(99), 1));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_NE(valueOf(replies[0]), kAcknowledge);
}

TEST_F(ResponderTest, BlockReadAnswersOnceThenOncePerContinueByte) {
    ASSERT_EQ(send(encodeBlockReadRequest(Block::Setting, 10148)).size(), 1u);
    std::vector<uint8_t> block;
    for (int i = 0; i < 20; ++i) {
        auto replies = sendByte(0);
        ASSERT_EQ(replies.size(), 1u) << "reply " << i;
        block.insert(block.end(), replies[0].bytes.begin(), replies[0].bytes.end());
    }
    EXPECT_TRUE(sendByte(0).empty()) << "the block is complete";
    ASSERT_EQ(block.size(), 10148u);
    swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize>(block));
    EXPECT_EQ(loadLe32(block, layout::firstChannelRecord(0) + layout::channel::kVoltsValue),
              50000u);
}

TEST_F(ResponderTest, BlockOfTheWrongLengthIsNotServed) {
    EXPECT_TRUE(send(encodeBlockReadRequest(Block::Setting, 100)).empty());
    EXPECT_TRUE(send(encodeBlockReadRequest(static_cast<Block>(42), 10)).empty());
}

TEST_F(ResponderTest, BlockWriteCollectsChunksOfAnySizeUntilTheAnnouncedLength) {
    auto replies = send(encodeBlockWriteRequest(Block::GeneratorWave, 12));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(valueOf(replies[0]), kAcknowledge);
    // A data chunk that happens to look like a request is still data.
    const RequestFrame looksLikeARequest = encodeSetRequest(Command::LinkCheck, 1);
    EXPECT_TRUE(responder.handle(looksLikeARequest).empty());
    EXPECT_EQ(instrument.generator().samples.size(), 6u);
    EXPECT_EQ(instrument.generator().samples[0], 160);
    // Back to requests once the block is complete.
    EXPECT_EQ(send(encodeSetRequest(Command::LinkCheck, 1)).size(), 1u);
}

TEST_F(ResponderTest, RefusesGeneratorBlocksOfOddLength) {
    auto replies = send(encodeBlockWriteRequest(Block::GeneratorWave, 3));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_NE(valueOf(replies[0]), kAcknowledge);
}

TEST_F(ResponderTest, FaultsShapeTheReplies) {
    responder.setFaults({.truncatedReplies = true});
    EXPECT_EQ(send(encodeSetRequest(Command::LinkCheck, 1))[0].bytes.size(), 2u);
    responder.setFaults({.lateReplies = 1});
    EXPECT_EQ(send(encodeSetRequest(Command::LinkCheck, 1))[0].delay,
              std::chrono::milliseconds(150));
    EXPECT_EQ(send(encodeSetRequest(Command::LinkCheck, 1))[0].delay, std::chrono::milliseconds(0));
    responder.setFaults({.silent = true});
    EXPECT_TRUE(send(encodeSetRequest(Command::LinkCheck, 1)).empty());
}

}  // namespace
}  // namespace zelvo::sim
