// Little-endian loads and stores on byte buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvo {

inline uint16_t loadLe16(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
inline uint32_t loadLe32(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
inline int16_t loadLeI16(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<int16_t>(loadLe16(b, at));
}
inline void storeLe16(std::span<uint8_t> b, std::size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void storeLe32(std::span<uint8_t> b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace zelvo
