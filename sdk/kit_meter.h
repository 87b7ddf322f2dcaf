// Decoding of the developer kit's 23-byte meter reading block.
#pragma once

#include <cstdint>
#include <span>

#include "zelvo/command_codes.h"
#include "zelvo/sdkZelvoDLL.h"

namespace zelvo::kit {

// False, leaving info untouched, when the reading shows no known mode.
bool decodeKitMeterReading(std::span<const uint8_t, kKitMeterBlockSize> block, KitDmmInfo& info);

}  // namespace zelvo::kit
