#include "protocol/serial_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvo {
namespace {

using State = FrameAssembler::State;

TEST(SerialFrame, PrefixesTheLittleEndianLength) {
    const std::vector<uint8_t> payload(300, 0x5A);
    const std::vector<uint8_t> frame = frameSerial(payload);
    ASSERT_EQ(frame.size(), 302u);
    EXPECT_EQ(frame[0], 0x2C);
    EXPECT_EQ(frame[1], 0x01);
    EXPECT_EQ(frame[2], 0x5A);
}

TEST(SerialFrame, AssemblesAReplyFedInAnyPieces) {
    const std::vector<uint8_t> stream = {0x04, 0x00, 0x84, 0x00, 0x00, 0x00, 0x99, 0x98};
    for (std::size_t piece = 1; piece <= stream.size(); ++piece) {
        SCOPED_TRACE(piece);
        FrameAssembler a(kSerialReplyMax);
        std::size_t at = 0;
        while (at < stream.size() && a.state() != State::Complete) {
            const std::size_t n = std::min(piece, stream.size() - at);
            at += a.feed(std::span(stream).subspan(at, n));
        }
        ASSERT_EQ(a.state(), State::Complete);
        EXPECT_EQ(at, 6u) << "bytes after the frame stay with the caller";
        EXPECT_EQ(std::vector<uint8_t>(a.payload().begin(), a.payload().end()),
                  (std::vector<uint8_t>{0x84, 0, 0, 0}));
    }
}

TEST(SerialFrame, JudgesTheAnnouncedLength) {
    struct Case {
        uint8_t low, high;
        State after;
        std::size_t wanted;
    };
    const Case cases[] = {
        {0x00, 0x00, State::Complete, 0},       // an empty reply is complete at once
        {0x56, 0x02, State::NeedPayload, 598},  // the longest reply accepted
        {0x57, 0x02, State::TooLong, 0},        // 599
        {0xFF, 0xFF, State::TooLong, 0},
    };
    for (const Case& c : cases) {
        FrameAssembler a(kSerialReplyMax);
        EXPECT_EQ(a.wanted(), 2u);
        const uint8_t header[] = {c.low, c.high};
        EXPECT_EQ(a.feed(header), 2u);
        EXPECT_EQ(a.state(), c.after) << c.low + 256 * c.high;
        EXPECT_EQ(a.wanted(), c.wanted);
    }
}

}  // namespace
}  // namespace zelvo
