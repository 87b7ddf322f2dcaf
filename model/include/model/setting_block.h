// The instrument's whole oscilloscope state as one uploaded block: channel
// and trigger records, then the four traces.  Its fields are read through
// the shared layout header, never by literal offsets.
#pragma once

#include <array>
#include <cstdint>

#include "zelvo/setting_block_layout.h"

namespace oscilane {

using SettingBlock = std::array<uint8_t, zelvo::layout::kBlockSize>;

}  // namespace oscilane
