// The length-prefixed frames of the serial line, free of I/O: the PC and the
// instrument both send a 2-byte little-endian length and then that many bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelvo {

inline constexpr std::size_t kSerialLengthPrefix = 2;
// Longest reply payload the PC accepts; a header announcing more fails the reply.
inline constexpr std::size_t kSerialReplyMax = 598;
// Replies announcing this many bytes or fewer are sets, gets and first answers:
// once their header is in, only a few more read attempts are granted.
inline constexpr std::size_t kSerialShortReplyMax = 7;

// Prefixes the payload with its length; payloads beyond 65535 bytes cannot be framed.
std::vector<uint8_t> frameSerial(std::span<const uint8_t> payload);

// Gathers one frame from a byte stream fed in pieces.  It never takes more
// bytes than the frame needs, so whatever follows stays with the caller.
class FrameAssembler {
  public:
    enum class State : uint8_t { NeedHeader, NeedPayload, Complete, TooLong };

    explicit FrameAssembler(std::size_t maxPayload) : maxPayload_(maxPayload) {}

    // Takes bytes up to the end of the current frame; returns how many it took.
    std::size_t feed(std::span<const uint8_t> bytes);
    // Bytes the frame still lacks: the rest of the header, then of the payload.
    std::size_t wanted() const;
    State state() const { return state_; }
    // The announced payload length, once the header is in.
    std::optional<std::size_t> announced() const;
    std::span<const uint8_t> payload() const { return payload_; }
    // Forgets the frame, ready for the next one.
    void reset();

  private:
    std::size_t maxPayload_;
    State state_ = State::NeedHeader;
    uint8_t header_[kSerialLengthPrefix] = {};
    std::size_t headerFilled_ = 0;
    std::size_t length_ = 0;
    std::vector<uint8_t> payload_;
};

}  // namespace zelvo
