// Decoding of the 176-byte device information block (block code 6).
#pragma once

#include <cstdint>
#include <span>

#include "zelvo/command_codes.h"
#include "zelvo/zelvo_common.h"

namespace zelvo {

// Word indexes of the block (88 little-endian 16-bit words).
namespace device_info_words {
inline constexpr std::size_t kName = 23;
inline constexpr std::size_t kSerialNumber = 3;
inline constexpr std::size_t kIdentification[5] = {0, 45, 2, 1, 43};
// Build date as ASCII digits: tens and units of month, day and year.
inline constexpr std::size_t kMonthTens = 47, kMonthUnits = 48;
inline constexpr std::size_t kDayTens = 50, kDayUnits = 51;
inline constexpr std::size_t kYearTens = 55, kYearUnits = 54;
}  // namespace device_info_words

DeviceInfo decodeDeviceInfo(std::span<const uint8_t, kDeviceInfoBlockSize> block);

}  // namespace zelvo
