// Human-readable summaries of what the instrument reports.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "zelvo/ZelvoDLL.h"

namespace zelvo::cli {

std::string describeDeviceInfo(const DeviceInfo& info);
std::string describeMeterReading(const DmmInfo& reading);
// Channel states, volts per division, time base and the sample range of each trace.
std::string describeSettingBlock(std::span<const uint8_t> block);

}  // namespace zelvo::cli
