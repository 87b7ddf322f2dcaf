// The kit's meter reading and its network check.
#include <array>

#include "core/device_calls.h"
#include "kit_meter.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwNetCheckConnect(DeviceHandle, int32_t) { return 0; }

ZELVO_API int ZELVO_CALL DMMGetInfo(DeviceHandle h, KitDmmInfo* info) {
    if (info == nullptr) return 1;
    std::array<uint8_t, kKitMeterBlockSize> block{};
    if (read(h, Block::KitMeterReading, block) != Outcome::Ok) return 1;
    return kit::decodeKitMeterReading(block, *info) ? 0 : 1;
}

}  // extern "C"
