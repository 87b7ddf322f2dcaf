// The instrument sends some 32-bit fields of the setting block with their two
// 16-bit halves exchanged; this puts them right (and is its own inverse).
#pragma once

#include <cstdint>
#include <span>

#include "zelvo/setting_block_layout.h"

namespace zelvo {

void swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize> block);

}  // namespace zelvo
