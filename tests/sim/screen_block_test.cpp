// The simulated screen looks like a scope screen: a grid and the traces.
#include <gtest/gtest.h>

#include <array>

#include "scope_block_reader.h"

namespace zelvo::sim {
namespace {

std::array<int, 16> colourCounts(const std::vector<uint8_t>& screen) {
    std::array<int, 16> n{};
    for (uint8_t b : screen) {
        ++n[b >> 4];
        ++n[b & 0x0F];
    }
    return n;
}

TEST(SimulatedScreen, ShowsGridAndTheShownTracesInTheirColours) {
    Instrument instrument;
    ShownBlock b(instrument);
    const auto counts = colourCounts(*instrument.readBlock(code(Block::Screen), kScreenBlockSize));
    EXPECT_GT(counts[11], 1000) << "grid";
    EXPECT_GT(counts[3], 300) << "CH1";
    EXPECT_GT(counts[5], 300) << "CH2";
    ASSERT_TRUE(instrument.applySet(code(Command::ChannelEnable), 0x10000));
    EXPECT_EQ(colourCounts(*instrument.readBlock(code(Block::Screen), kScreenBlockSize))[5], 0);
}

}  // namespace
}  // namespace zelvo::sim
