// The 12-byte request that opens every exchange, and the 4-byte reply value.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "zelvo/command_codes.h"

namespace zelvo {

using RequestFrame = std::array<uint8_t, kRequestSize>;

RequestFrame encodeSetRequest(Command command, uint32_t value);
RequestFrame encodeGetRequest(Command command, uint32_t value = kGetValue);
RequestFrame encodeBlockReadRequest(Block block, uint32_t length);
RequestFrame encodeBlockWriteRequest(Block block, uint32_t length);

// A request as the instrument sees it: set and get carry (code, value),
// block requests carry (length, block code).
struct DecodedRequest {
    Opcode opcode;
    uint32_t first;
    uint32_t second;
};
// Fails for anything but 12 bytes whose first word is one of the four opcodes.
std::optional<DecodedRequest> decodeRequest(std::span<const uint8_t> bytes);

// The value in the first four bytes of a reply; none when the reply is shorter.
std::optional<uint32_t> replyValue(std::span<const uint8_t> reply);

}  // namespace zelvo
