// The exchanges addressed by device handle, and the services built on them.
// Both export sets (the link library and the developer kit) call these.
#pragma once

#include <cstdint>
#include <span>

#include "core/exchange.h"
#include "zelvo/zelvo_common.h"

namespace zelvo::link {

// Which transport serves a handle; none when the handle names no usable link.
// Each library defines this with its own set of links.
Transport* transportFor(DeviceHandle h);

Outcome set(DeviceHandle h, Command command, uint32_t value);
GetResult get(DeviceHandle h, Command command, uint32_t value = kGetValue);
Outcome read(DeviceHandle h, Block block, std::span<uint8_t> dest);
Outcome write(DeviceHandle h, Block block, std::span<const uint8_t> source);

// The exported result convention: 0 success, 1 failure.
constexpr int exported(Outcome o) { return o == Outcome::Ok ? 0 : 1; }

// Link kind and device number of a handle.
constexpr uint32_t linkKind(DeviceHandle h) { return h >> 16; }
constexpr uint32_t deviceNumber(DeviceHandle h) { return h & 0xFFFFu; }

}  // namespace zelvo::link
