#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "protocol/byte_order.h"
#include "protocol/half_word_swap.h"

namespace zelvo {
namespace {

using Block = std::span<uint8_t, layout::kBlockSize>;

TEST(HalfWordSwap, ListsExactlyTheThirtyNineFieldsTheInstrumentSwaps) {
    const std::set<std::size_t> expected = {16,  24,  32,  64,  72,  80,  112, 120, 128, 160,
                                            168, 176, 212, 220, 228, 260, 268, 276, 308, 316,
                                            324, 356, 364, 372, 420, 436, 452, 456, 460, 464,
                                            472, 476, 480, 488, 492, 496, 504, 508, 512};
    const std::set<std::size_t> listed(layout::kHalfSwappedOffsets.begin(),
                                       layout::kHalfSwappedOffsets.end());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(layout::kHalfSwappedOffsets.size(), expected.size());  // no field swapped twice
}

TEST(HalfWordSwap, PutsTheHalvesBackAndTouchesNothingElse) {
    std::vector<uint8_t> original(layout::kBlockSize);
    for (std::size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 7 + 3);
    original[16] = 0x34;
    original[17] = 0x12;
    original[18] = 0x78;
    original[19] = 0x56;
    std::vector<uint8_t> block = original;

    swapHalfSwappedFields(Block(block));
    EXPECT_EQ(loadLe32(block, 16), 0x12345678u);
    std::vector<bool> inSwappedField(block.size(), false);
    for (std::size_t at : layout::kHalfSwappedOffsets)
        std::fill_n(inSwappedField.begin() + static_cast<std::ptrdiff_t>(at), 4, true);
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (!inSwappedField[i]) {
            ASSERT_EQ(block[i], original[i]) << "byte " << i;
        }
    }

    swapHalfSwappedFields(Block(block));
    EXPECT_EQ(block, original);
}

TEST(SettingBlockLayout, TracesFollowTheRecordsAndFillTheBlock) {
    EXPECT_EQ(layout::traceSamples(0), 548u);
    EXPECT_EQ(layout::traceSamples(1), 2948u);
    EXPECT_EQ(layout::traceSamples(2), 5348u);
    EXPECT_EQ(layout::traceSamples(3), 7748u);
    EXPECT_EQ(layout::secondChannelRecord(3) + layout::kChannelRecordSize, 388u);
    EXPECT_EQ(layout::waveformRecord(3) + layout::kWaveformRecordSize, 520u);
}

}  // namespace
}  // namespace zelvo
