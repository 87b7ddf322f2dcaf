// The set exchanges behind most exports: one byte, or a selector and a value.
#pragma once

#include "core/device_calls.h"
#include "protocol/value_packing.h"

namespace zelvo::link {

inline int setByte(DeviceHandle h, Command c, uint8_t value) { return exported(set(h, c, value)); }
inline int setPair(DeviceHandle h, Command c, int32_t selector, int32_t value) {
    return exported(set(h, c, packSelectorByte(selector, value)));
}
inline int setPairWord(DeviceHandle h, Command c, int32_t selector, uint16_t value) {
    return exported(set(h, c, packSelectorWord(selector, value)));
}

}  // namespace zelvo::link
