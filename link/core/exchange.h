// The four exchanges of the command protocol over any transport.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/transport.h"
#include "zelvo/command_codes.h"

namespace zelvo::link {

// What one exchange received, for the session recorder: every reply as the
// link delivered it, one after another, and the size of each.
struct ReplyTrace {
    std::vector<uint8_t> bytes;
    std::vector<uint32_t> packetSizes;
};

struct GetResult {
    Outcome outcome;
    uint32_t value;  // meaningful when outcome is Ok
};

// Each exchange adds what it receives to trace when one is given.
// Ok when the instrument acknowledged with 132, Refused for any other reply value.
Outcome sendSet(Transport& t, Command command, uint32_t value, ReplyTrace* trace = nullptr);
GetResult sendGet(Transport& t, Command command, uint32_t value = kGetValue,
                  ReplyTrace* trace = nullptr);
// Fills all of dest; on failure dest may hold part of the block.
Outcome readBlock(Transport& t, Block block, std::span<uint8_t> dest, ReplyTrace* trace = nullptr);
// Announces the block and, once acknowledged, sends it in the transport's chunks.
Outcome writeBlock(Transport& t, Block block, std::span<const uint8_t> source,
                   ReplyTrace* trace = nullptr);

// Failed chunk transfers a block write survives; the next failure ends it.
inline constexpr int kChunkFailuresAllowed = 3;

}  // namespace zelvo::link
