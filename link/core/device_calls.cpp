#include "core/device_calls.h"

namespace zelvo::link {

Outcome set(DeviceHandle h, Command command, uint32_t value) {
    Transport* t = transportFor(h);
    return t ? sendSet(*t, command, value) : Outcome::NotOpen;
}

GetResult get(DeviceHandle h, Command command, uint32_t value) {
    Transport* t = transportFor(h);
    return t ? sendGet(*t, command, value) : GetResult{Outcome::NotOpen, 0};
}

Outcome read(DeviceHandle h, Block block, std::span<uint8_t> dest) {
    Transport* t = transportFor(h);
    return t ? readBlock(*t, block, dest) : Outcome::NotOpen;
}

Outcome write(DeviceHandle h, Block block, std::span<const uint8_t> source) {
    Transport* t = transportFor(h);
    return t ? writeBlock(*t, block, source) : Outcome::NotOpen;
}

}  // namespace zelvo::link
