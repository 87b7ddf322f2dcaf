// One UDP link to an instrument on the network (port 2001).  Requests go out
// one per datagram; every datagram from the instrument is one reply.
#pragma once

#include <netinet/in.h>

#include <array>
#include <chrono>

#include "core/slot_transport.h"
#include "zelvo/command_codes.h"

namespace zelvo::link {

class LanSlot final : public SlotTransport {
  public:
    LanSlot() : SlotTransport(kLanDatagramMax) {}
    ~LanSlot() override { close(); }
    LanSlot(const LanSlot&) = delete;
    LanSlot& operator=(const LanSlot&) = delete;

    // Opens a non-blocking UDP socket towards address:port; address must be
    // dotted-decimal IPv4.  A slot that is open is closed first.
    Outcome open(const char* address, uint16_t port);
    void close();
    bool isOpen() const override { return socket_ >= 0; }

    // How long one reply is awaited.
    static constexpr std::chrono::milliseconds kReplyBudget{100};

    Outcome send(std::span<const uint8_t> bytes) override;
    Received receive(std::span<uint8_t> dest, ReplyKind kind) override;

  private:
    // Drops datagrams already waiting: late replies of an earlier exchange.
    void discardPending();

    int socket_ = -1;
    sockaddr_in peer_{};
};

inline constexpr std::size_t kLanSlotCount = 16;

// The library-wide table of LAN slots; closed at unload.
std::array<LanSlot, kLanSlotCount>& lanSlots();

}  // namespace zelvo::link
