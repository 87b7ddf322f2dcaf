// The four exchanges of the command protocol over any transport.
#pragma once

#include <cstdint>
#include <span>

#include "core/transport.h"
#include "zelvo/command_codes.h"

namespace zelvo::link {

struct GetResult {
    Outcome outcome;
    uint32_t value;  // meaningful when outcome is Ok
};

// Ok when the instrument acknowledged with 132, Refused for any other reply value.
Outcome sendSet(Transport& t, Command command, uint32_t value);
GetResult sendGet(Transport& t, Command command, uint32_t value = kGetValue);
// Fills all of dest; on failure dest may hold part of the block.
Outcome readBlock(Transport& t, Block block, std::span<uint8_t> dest);
// Announces the block and, once acknowledged, sends it in the transport's chunks.
Outcome writeBlock(Transport& t, Block block, std::span<const uint8_t> source);

// Failed chunk transfers a block write survives; the next failure ends it.
inline constexpr int kChunkFailuresAllowed = 3;

}  // namespace zelvo::link
