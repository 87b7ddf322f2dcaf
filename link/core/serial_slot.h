// One serial link to an instrument: every frame the PC sends and every reply
// carries a 2-byte little-endian length in front (serial_frame.h).
#pragma once

#include <array>
#include <chrono>
#include <string>

#include "core/serial_port.h"
#include "core/slot_transport.h"
#include "zelvo/command_codes.h"

namespace zelvo::link {

class SerialSlot final : public SlotTransport {
  public:
    SerialSlot() : SlotTransport(kBlockReplyMax) {}
    // Opens the device at the baud index (0..5); a slot that is open is closed first.
    Outcome open(const std::string& path, uint16_t baudIndex) {
        return port_.open(path, baudIndex);
    }
    void close() { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    // The slot's last failure, "step: (errno) text\n".
    const char* lastError() const { return port_.lastError(); }

    // Read attempts per reply, and those left once a short reply's header is in.
    static constexpr int kReadAttempts = 512;
    static constexpr int kAttemptsAfterShortHeader = 5;
    // Longest wait of one attempt for its first character, by reply kind.
    static constexpr std::chrono::milliseconds kShortReplyWait{1};
    static constexpr std::chrono::milliseconds kFirstAnswerWait{10};
    static constexpr std::chrono::milliseconds kBlockDataWait{500};

    // Discards stale input first, so nothing that arrived earlier answers this frame.
    Outcome send(std::span<const uint8_t> bytes) override;
    // Reads one whole reply (at most 598 bytes) and keeps at most dest.size() of it.
    Received receive(std::span<uint8_t> dest, ReplyKind kind) override;

  private:
    SerialPort port_;
};

inline constexpr std::size_t kSerialSlotCount = 16;

// The library-wide table of serial slots; closed at unload.
std::array<SerialSlot, kSerialSlotCount>& serialSlots();

}  // namespace zelvo::link
