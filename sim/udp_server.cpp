#include "udp_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <system_error>

#include "reply_schedule.h"
#include "zelvo/command_codes.h"

namespace zelvo::sim {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

int boundSocket(const sockaddr_in& at, const std::string& what) {
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) fail("socket");
    if (::bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
        const int e = errno;
        ::close(s);
        errno = e;
        fail("bind " + what);
    }
    return s;
}

sockaddr_in loopbackAddress(const std::string& address, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1 ||
        (ntohl(a.sin_addr.s_addr) >> 24) != 127) {
        errno = EINVAL;
        fail("the simulated instrument serves only loopback addresses (127.0.0.0/8), not " +
             address);
    }
    return a;
}

}  // namespace

UdpServer::UdpServer(ReplySource& instrument, const std::string& address, uint16_t port)
    : instrument_(instrument), address_(address) {
    const sockaddr_in at = loopbackAddress(address, port);
    socket_ = boundSocket(at, address + ":" + std::to_string(port));
    // Another loopback address of the same /24 stands in for a foreign host.
    sockaddr_in foreign = at;
    foreign.sin_port = 0;
    foreign.sin_addr.s_addr = htonl(ntohl(at.sin_addr.s_addr) ^ 0x80u);
    try {
        foreignSocket_ = boundSocket(foreign, "foreign address");
    } catch (...) {
        ::close(socket_);
        throw;
    }
}

UdpServer::~UdpServer() {
    stop();
    ::close(socket_);
    ::close(foreignSocket_);
}

void UdpServer::start() {
    loop_.start([this] { run(); });
}

void UdpServer::stop() { loop_.stop(); }

void UdpServer::run() {
    struct Outgoing {
        std::vector<uint8_t> bytes;
        sockaddr_in to;
        bool foreign;
    };
    auto send = [this](const Outgoing& o) {
        ::sendto(o.foreign ? foreignSocket_ : socket_, o.bytes.data(), o.bytes.size(), 0,
                 reinterpret_cast<const sockaddr*>(&o.to), sizeof o.to);
    };
    ReplySchedule<Outgoing> scheduled;
    std::array<uint8_t, 65536> datagram;
    for (;;) {
        const int timeout = pollTimeoutUntil(scheduled.nextDue(), Clock::now());
        pollfd fds[2] = {{socket_, POLLIN, 0}, {loop_.wakeDescriptor(), POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) return;

        scheduled.takeDue(Clock::now(), send);
        if (!(fds[0].revents & POLLIN)) continue;
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(socket_, datagram.data(), datagram.size(), 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n < 0) break;
            for (Reply& r :
                 instrument_.handle(std::span(datagram.data(), static_cast<std::size_t>(n)))) {
                Outgoing o{std::move(r.bytes), from, r.fromForeignAddress};
                if (r.delay.count() == 0)
                    send(o);
                else
                    scheduled.add(r.delay, std::move(o));
            }
        }
    }
}

}  // namespace zelvo::sim
