#include "protocol/screen_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/byte_order.h"

namespace zelvo {
namespace {

std::vector<uint8_t> fileOf(const std::vector<uint8_t>& screen) {
    return screenBitmapFile(
        std::span<const uint8_t, kScreenBlockSize>(screen.data(), kScreenBlockSize));
}

TEST(ScreenBitmap, HeaderDescribesA320By240TwentyFourBitBitmap) {
    const std::vector<uint8_t> file = fileOf(std::vector<uint8_t>(kScreenBlockSize, 0));
    ASSERT_EQ(file.size(), 230454u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    struct Field {
        std::size_t at;
        uint32_t value;
    } fields[] = {{2, 230454}, {6, 0},       {10, 54}, {14, 40}, {18, 320}, {22, 240},
                  {30, 0},     {34, 230400}, {38, 0},  {42, 0},  {46, 0},   {50, 0}};
    for (const Field& f : fields) EXPECT_EQ(loadLe32(file, f.at), f.value) << "offset " << f.at;
    EXPECT_EQ(loadLe16(file, 26), 1);
    EXPECT_EQ(loadLe16(file, 28), 24);
}

TEST(ScreenBitmap, EachBytePairGivesFourPixelsSecondByteFirstHighNibbleFirst) {
    std::vector<uint8_t> screen(kScreenBlockSize, 0);
    screen[0] = 0x12;
    screen[1] = 0x9A;
    const std::vector<uint8_t> file = fileOf(screen);
    const int expected[4] = {9, 10, 1, 2};
    for (int p = 0; p < 4; ++p) {
        const BgrColour& c = kScreenPalette[expected[p]];
        const std::size_t at = kBitmapHeaderSize + 3 * p;
        EXPECT_EQ(file[at], c[0]) << "pixel " << p;
        EXPECT_EQ(file[at + 1], c[1]);
        EXPECT_EQ(file[at + 2], c[2]);
    }
    EXPECT_EQ(file[kBitmapHeaderSize + 12], 0);  // next pair is colour 0
}

TEST(ScreenBitmap, LastBytePairFillsTheLastPixels) {
    std::vector<uint8_t> screen(kScreenBlockSize, 0);
    screen[kScreenBlockSize - 2] = 0x00;
    screen[kScreenBlockSize - 1] = 0x00;
    screen[kScreenBlockSize - 2] = 0x06;  // last pixel: colour 6 (bytes 255, 255, 0)
    const std::vector<uint8_t> file = fileOf(screen);
    EXPECT_EQ(file[file.size() - 3], 255);
    EXPECT_EQ(file[file.size() - 2], 255);
    EXPECT_EQ(file[file.size() - 1], 0);
}

}  // namespace
}  // namespace zelvo
