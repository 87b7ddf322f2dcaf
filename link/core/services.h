// Instrument services whose work goes beyond one packed value.
#pragma once

#include <cstdint>
#include <span>

#include "core/device_calls.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::link {

Outcome fetchDeviceInfo(DeviceHandle h, DeviceInfo& info);
// Reads into scratch memory; block changes only when the whole upload arrived.
Outcome uploadSettingBlock(DeviceHandle h, std::span<uint8_t, layout::kBlockSize> block);
// Writes the screen bitmap through a temporary file in the same folder, so a
// failed write never leaves a partial file at path.
Outcome saveScreenBitmap(DeviceHandle h, const char* path);
Outcome fetchMeterReading(DeviceHandle h, DmmInfo& info);
Outcome setGeneratorFrequency(DeviceHandle h, double frequency, int16_t& points, int16_t& periods);
Outcome downloadGeneratorWave(DeviceHandle h, uint32_t count, const uint16_t* samples);

}  // namespace zelvo::link
