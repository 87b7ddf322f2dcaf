// Conversion of the instrument's 4-bit-per-pixel screen block (block code 5)
// into a 320 x 240, 24-bit bitmap file image.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "zelvo/command_codes.h"

namespace zelvo {

inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 240;
inline constexpr std::size_t kBitmapHeaderSize = 54;
inline constexpr std::size_t kScreenBitmapSize =
    kBitmapHeaderSize + 3u * kScreenWidth * kScreenHeight;

// Blue, green, red bytes of the instrument's 16 colour numbers.
using BgrColour = std::array<uint8_t, 3>;
extern const std::array<BgrColour, 16> kScreenPalette;

// The whole file: header, then pixels in the order the instrument sends them
// (each byte pair b0 b1 gives the colours of b1's high and low nibble, then b0's).
std::vector<uint8_t> screenBitmapFile(std::span<const uint8_t, kScreenBlockSize> screen);

}  // namespace zelvo
