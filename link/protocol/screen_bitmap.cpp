#include "screen_bitmap.h"

#include "byte_order.h"

namespace zelvo {

const std::array<BgrColour, 16> kScreenPalette = {{
    {0, 0, 0},
    {33, 33, 33},
    {66, 66, 66},
    {0, 255, 255},
    {0, 132, 255},
    {0, 255, 0},
    {255, 255, 0},
    {189, 132, 90},
    {255, 0, 132},
    {255, 255, 255},
    {0, 0, 255},
    {165, 165, 165},
    {90, 107, 90},
    {123, 189, 140},
    {0, 0, 0},
    {0, 0, 0},
}};

std::vector<uint8_t> screenBitmapFile(std::span<const uint8_t, kScreenBlockSize> screen) {
    std::vector<uint8_t> file(kScreenBitmapSize, 0);
    std::span<uint8_t> out(file);
    out[0] = 'B';
    out[1] = 'M';
    storeLe32(out, 2, static_cast<uint32_t>(kScreenBitmapSize));
    storeLe32(out, 10, static_cast<uint32_t>(kBitmapHeaderSize));
    storeLe32(out, 14, 40);
    storeLe32(out, 18, kScreenWidth);
    storeLe32(out, 22, kScreenHeight);
    storeLe16(out, 26, 1);
    storeLe16(out, 28, 24);
    storeLe32(out, 34, static_cast<uint32_t>(kScreenBitmapSize - kBitmapHeaderSize));

    std::size_t at = kBitmapHeaderSize;
    auto emit = [&](unsigned colour) {
        const BgrColour& c = kScreenPalette[colour & 0x0F];
        file[at++] = c[0];
        file[at++] = c[1];
        file[at++] = c[2];
    };
    for (std::size_t i = 0; i + 1 < screen.size(); i += 2) {
        const uint8_t b0 = screen[i], b1 = screen[i + 1];
        emit(b1 >> 4);
        emit(b1);
        emit(b0 >> 4);
        emit(b0);
    }
    return file;
}

}  // namespace zelvo
