#include "core/lan_slot.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zelvo::link {
namespace {

using Clock = std::chrono::steady_clock;

// Waits until the socket is readable or the deadline passes.
Outcome waitReadable(int socket, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return Outcome::TimedOut;
        pollfd p{socket, POLLIN, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left.count()));
        if (n > 0) return Outcome::Ok;
        if (n == 0) return Outcome::TimedOut;
        if (errno != EINTR) return Outcome::IoError;
    }
}

}  // namespace

std::array<LanSlot, kLanSlotCount>& lanSlots() {
    static std::array<LanSlot, kLanSlotCount> slots;
    return slots;
}

Outcome LanSlot::open(const char* address, uint16_t port) {
    close();
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (address == nullptr || ::inet_pton(AF_INET, address, &peer.sin_addr) != 1)
        return Outcome::Malformed;
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) return Outcome::IoError;
    socket_ = s;
    peer_ = peer;
    return Outcome::Ok;
}

void LanSlot::close() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
}

void LanSlot::discardPending() {
    std::array<uint8_t, kLanDatagramMax> sink;
    while (::recv(socket_, sink.data(), sink.size(), MSG_DONTWAIT) >= 0) {
    }
}

Outcome LanSlot::send(std::span<const uint8_t> bytes) {
    if (!isOpen()) return Outcome::NotOpen;
    if (bytes.empty()) return Outcome::Malformed;
    discardPending();
    for (std::size_t at = 0; at < bytes.size(); at += kLanDatagramMax) {
        const std::size_t n = std::min(kLanDatagramMax, bytes.size() - at);
        const ssize_t sent = ::sendto(socket_, bytes.data() + at, n, 0,
                                      reinterpret_cast<const sockaddr*>(&peer_), sizeof peer_);
        if (sent != static_cast<ssize_t>(n)) return Outcome::IoError;
    }
    return Outcome::Ok;
}

Received LanSlot::receive(std::span<uint8_t> dest, ReplyKind) {
    if (!isOpen()) return {Outcome::NotOpen, 0};
    const auto deadline = Clock::now() + kReplyBudget;
    std::array<uint8_t, kLanDatagramMax> datagram;
    for (;;) {
        if (Outcome w = waitReadable(socket_, deadline); w != Outcome::Ok) return {w, 0};
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(socket_, datagram.data(), datagram.size(), MSG_TRUNC,
                                     reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
            // An ICMP error queued by an earlier datagram is not a reply; keep waiting.
            if (errno == ECONNREFUSED) continue;
            return {Outcome::IoError, 0};
        }
        // Only the instrument's own address may answer for it; its source port may change.
        if (from.sin_family != AF_INET || from.sin_addr.s_addr != peer_.sin_addr.s_addr) continue;
        peer_.sin_port = from.sin_port;
        if (static_cast<std::size_t>(n) > datagram.size()) return {Outcome::Malformed, 0};
        const std::size_t kept = std::min(static_cast<std::size_t>(n), dest.size());
        std::copy_n(datagram.begin(), kept, dest.begin());
        return {Outcome::Ok, kept};
    }
}

}  // namespace zelvo::link
