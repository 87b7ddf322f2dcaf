#include "core/device_calls.h"

#include "core/session_recorder.h"
#include "protocol/frame.h"

namespace zelvo::link {

Outcome set(DeviceHandle h, Command command, uint32_t value) {
    Transport* t = transportFor(h);
    if (!t) return Outcome::NotOpen;
    return recorded(activeRecorder(), h, encodeSetRequest(command, value),
                    [&](ReplyTrace* trace) { return sendSet(*t, command, value, trace); });
}

GetResult get(DeviceHandle h, Command command, uint32_t value) {
    Transport* t = transportFor(h);
    if (!t) return GetResult{Outcome::NotOpen, 0};
    return recorded(activeRecorder(), h, encodeGetRequest(command, value),
                    [&](ReplyTrace* trace) { return sendGet(*t, command, value, trace); });
}

Outcome read(DeviceHandle h, Block block, std::span<uint8_t> dest) {
    Transport* t = transportFor(h);
    if (!t) return Outcome::NotOpen;
    const auto length = static_cast<uint32_t>(dest.size());
    return recorded(activeRecorder(), h, encodeBlockReadRequest(block, length),
                    [&](ReplyTrace* trace) { return readBlock(*t, block, dest, trace); });
}

Outcome write(DeviceHandle h, Block block, std::span<const uint8_t> source) {
    Transport* t = transportFor(h);
    if (!t) return Outcome::NotOpen;
    const auto length = static_cast<uint32_t>(source.size());
    return recorded(activeRecorder(), h, encodeBlockWriteRequest(block, length),
                    [&](ReplyTrace* trace) { return writeBlock(*t, block, source, trace); });
}

}  // namespace zelvo::link
