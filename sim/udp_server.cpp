#include "udp_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <map>
#include <system_error>

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

UdpServer::UdpServer(SimulatedInstrument& instrument, const std::string& address, uint16_t port)
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
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

UdpServer::~UdpServer() {
    stop();
    ::close(socket_);
    ::close(foreignSocket_);
    ::close(wake_);
}

void UdpServer::start() {
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void UdpServer::stop() {
    if (!thread_.joinable()) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    thread_.join();
    uint64_t drained;
    [[maybe_unused]] const ssize_t m = ::read(wake_, &drained, sizeof drained);
}

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
    // Replies wait here until their time, so a delayed reply never holds up the next request.
    std::multimap<Clock::time_point, Outgoing> scheduled;
    std::array<uint8_t, 65536> datagram;
    for (;;) {
        int timeout = -1;
        if (!scheduled.empty()) {
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
                scheduled.begin()->first - Clock::now());
            timeout = static_cast<int>(std::max<int64_t>(0, wait.count()));
        }
        pollfd fds[2] = {{socket_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) return;

        const auto now = Clock::now();
        while (!scheduled.empty() && scheduled.begin()->first <= now) {
            send(scheduled.begin()->second);
            scheduled.erase(scheduled.begin());
        }
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
                    scheduled.emplace(Clock::now() + r.delay, std::move(o));
            }
        }
    }
}

}  // namespace zelvo::sim
