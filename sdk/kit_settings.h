// How the developer kit turns a setting block into its settings record and
// four cleaned traces.  Free of I/O.
#pragma once

#include <cstdint>
#include <span>

#include "zelvo/sdkZelvoDLL.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::kit {

using SettingBlock = std::span<uint8_t, layout::kBlockSize>;
using Trace = std::span<int16_t, layout::kSamplesPerTrace>;

// The kit counts volts-per-division and time-base indexes from 0.
inline constexpr int kVoltsIndexOffset = 4;
inline constexpr int kTimeBaseOffset = 2;

// Applies the kit's index numbering to a block whose fields are put right.
void applyKitIndexes(SettingBlock block);
// Rescales shown trace k to its channel's current scale and cleans it (codes
// 0..255, 32767 where blanked); a trace of no samples is left as it came.
void rescaleAndClean(SettingBlock block, int k);
// Repacks the block into the 484-byte record; bytes the record does not carry
// are left as the caller had them.
void repackSettings(std::span<const uint8_t, layout::kBlockSize> block, KitSettings& out);
// The whole decoding of one uploaded block, as DSOGetAllSetting delivers it.
void decodeAllSettings(SettingBlock block, KitSettings& out, const std::array<Trace, 4>& traces);

}  // namespace zelvo::kit
