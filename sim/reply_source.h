// What a server carries over its transport: the instrument's side of the
// command protocol, which takes each datagram or frame the PC sends and
// gives the replies.  A simulated instrument and a replayed recording are two.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "responder.h"

namespace zelvo::sim {

class ReplySource {
  public:
    virtual ~ReplySource() = default;
    // Safe to call from the server's thread while others inspect the source.
    virtual std::vector<Reply> handle(std::span<const uint8_t> bytes) = 0;
};

}  // namespace zelvo::sim
