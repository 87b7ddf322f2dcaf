#include "frame.h"

#include "byte_order.h"

namespace zelvo {
namespace {

RequestFrame encode(Opcode opcode, uint32_t first, uint32_t second) {
    RequestFrame frame{};
    storeLe32(frame, 0, static_cast<uint32_t>(opcode));
    storeLe32(frame, 4, first);
    storeLe32(frame, 8, second);
    return frame;
}

}  // namespace

RequestFrame encodeSetRequest(Command command, uint32_t value) {
    return encode(Opcode::Set, code(command), value);
}
RequestFrame encodeGetRequest(Command command, uint32_t value) {
    return encode(Opcode::Get, code(command), value);
}
RequestFrame encodeBlockReadRequest(Block block, uint32_t length) {
    return encode(Opcode::BlockRead, length, code(block));
}
RequestFrame encodeBlockWriteRequest(Block block, uint32_t length) {
    return encode(Opcode::BlockWrite, length, code(block));
}

std::optional<DecodedRequest> decodeRequest(std::span<const uint8_t> bytes) {
    if (bytes.size() != kRequestSize) return std::nullopt;
    const uint32_t opcode = loadLe32(bytes, 0);
    switch (static_cast<Opcode>(opcode)) {
        case Opcode::Set:
        case Opcode::Get:
        case Opcode::BlockWrite:
        case Opcode::BlockRead:
            return DecodedRequest{static_cast<Opcode>(opcode), loadLe32(bytes, 4),
                                  loadLe32(bytes, 8)};
    }
    return std::nullopt;
}

std::optional<uint32_t> replyValue(std::span<const uint8_t> reply) {
    if (reply.size() < 4) return std::nullopt;
    return loadLe32(reply, 0);
}

}  // namespace zelvo
