#include "protocol/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvo {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(const RequestFrame& f) { return Bytes(f.begin(), f.end()); }

TEST(RequestFrame, SetAndGetCarryCodeThenValueBlocksCarryLengthThenCode) {
    EXPECT_EQ(bytes(encodeSetRequest(Command::TimeBase, 0x00FF0102)),
              (Bytes{160, 0, 0, 0, 28, 0, 0, 0, 0x02, 0x01, 0xFF, 0x00}));
    EXPECT_EQ(bytes(encodeGetRequest(Command::EtsUpdate, kEtsGetValue)),
              (Bytes{161, 0, 0, 0, 73, 0, 0, 0, 10, 0, 0, 0}));
    EXPECT_EQ(bytes(encodeBlockReadRequest(Block::Setting, 10148)),
              (Bytes{163, 0, 0, 0, 0xA4, 0x27, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ(bytes(encodeBlockWriteRequest(Block::GeneratorWave, 8192)),
              (Bytes{162, 0, 0, 0, 0, 0x20, 0, 0, 9, 0, 0, 0}));
}

TEST(RequestFrame, DecodesWhatItEncodesAndRejectsEverythingElse) {
    const auto r = decodeRequest(encodeBlockReadRequest(Block::Screen, 38400));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->opcode, Opcode::BlockRead);
    EXPECT_EQ(r->first, 38400u);
    EXPECT_EQ(r->second, 5u);

    const Bytes unknownOpcode{164, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    const Bytes opcodeHighByte{160, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0};
    const Bytes tooShort{160, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0};
    EXPECT_FALSE(decodeRequest(unknownOpcode));
    EXPECT_FALSE(decodeRequest(opcodeHighByte));
    EXPECT_FALSE(decodeRequest(tooShort));
}

TEST(ReplyValue, UsesOnlyTheFirstFourBytesLittleEndian) {
    EXPECT_EQ(replyValue(Bytes{0x84, 0, 0, 0}), kAcknowledge);
    EXPECT_EQ(replyValue(Bytes{0x84, 1, 0, 0}), 0x184u);  // not an acknowledgement
    EXPECT_EQ(replyValue(Bytes{0x84, 0, 0, 0, 0xFF, 0xFF}), kAcknowledge);
    EXPECT_FALSE(replyValue(Bytes{0x84, 0, 0}));
    EXPECT_FALSE(replyValue(Bytes{}));
}

}  // namespace
}  // namespace zelvo
