#include "usb_bus_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "server_loop.h"

namespace zelvo::sim {
namespace {

using driver::TransferStatus;
using driver::TransferType;
using driver::simbus::WireMessage;
using driver::simbus::WireType;

constexpr std::size_t kSetupSize = 8;
constexpr std::size_t kInterruptPacket = 8;

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

UsbBusServer::UsbBusServer(std::string socketPath) : socketPath_(std::move(socketPath)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath_.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        fail(socketPath_);
    }
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
    ::unlink(socketPath_.c_str());
    listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listen_ < 0) fail("socket");
    if (::bind(listen_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_, 8) != 0) {
        const int e = errno;
        ::close(listen_);
        errno = e;
        fail("listen on " + socketPath_);
    }
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    // Without its wake descriptor stop() could never end the loop.
    if (wake_ < 0) {
        const int e = errno;
        ::close(listen_);
        ::unlink(socketPath_.c_str());
        errno = e;
        fail("eventfd");
    }
}

UsbBusServer::~UsbBusServer() {
    stop();
    for (Client& c : clients_) ::close(c.fd);
    ::close(listen_);
    ::close(wake_);
    ::unlink(socketPath_.c_str());
}

void UsbBusServer::start() {
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
}

void UsbBusServer::stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        // Ending the streams tells every connected driver that its devices are gone.
        for (Client& c : clients_) ::shutdown(c.fd, SHUT_RDWR);
    }
    const uint64_t quit = uint64_t{1} << 32;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &quit, sizeof quit);
    thread_.join();
}

void UsbBusServer::wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

std::string UsbBusServer::pathOf(uint32_t port) const { return "sim-1-" + std::to_string(port); }

driver::simbus::PortDevice UsbBusServer::record(uint32_t port) const {
    const UsbIdentity& id = ports_.at(port).port->identity();
    driver::BusDeviceInfo info;
    info.path = pathOf(port);
    info.vendor = id.vendor;
    info.product = id.product;
    info.interfaceNumber = 0;
    info.endpoints = {{kInterruptIn, TransferType::Interrupt, kInterruptPacket},
                      {kBulkIn, TransferType::Bulk, id.bulkPacketSize},
                      {kBulkOut, TransferType::Bulk, id.bulkPacketSize},
                      {kAuxOut, TransferType::Bulk, id.bulkPacketSize}};
    return {port, std::move(info)};
}

uint32_t UsbBusServer::attach(ReplySource& instrument, UsbIdentity identity) {
    std::lock_guard lock(mutex_);
    const uint32_t port = ports_.empty() ? 1 : ports_.rbegin()->first + 1;
    ports_[port] = Attached{std::make_unique<UsbPort>(instrument, identity), true};
    announce(WireType::Plug, port);
    return port;
}

void UsbBusServer::unplug(uint32_t port) {
    std::lock_guard lock(mutex_);
    Attached& a = ports_.at(port);
    if (!a.plugged) return;
    a.plugged = false;
    a.port->flush();
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->port == port) {
            done(it->fd, it->id, TransferStatus::NoDevice);
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
    announce(WireType::Unplug, port);
}

void UsbBusServer::plug(uint32_t port) {
    std::lock_guard lock(mutex_);
    Attached& a = ports_.at(port);
    if (a.plugged) return;
    a.plugged = true;
    announce(WireType::Plug, port);
}

void UsbBusServer::stall(uint32_t port, uint8_t endpoint) {
    std::lock_guard lock(mutex_);
    ports_.at(port).port->stall(endpoint);
}

void UsbBusServer::setSlowness(uint32_t port, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    ports_.at(port).port->setSlowness(delay);
}

void UsbBusServer::raiseInterrupt(uint32_t port, std::span<const uint8_t> report) {
    {
        std::lock_guard lock(mutex_);
        ports_.at(port).port->raiseInterrupt(report);
    }
    wake();
}

std::size_t UsbBusServer::packetsSent(uint32_t port) {
    std::lock_guard lock(mutex_);
    return ports_.at(port).port->packetsSent();
}

std::size_t UsbBusServer::transfersReceived(uint32_t port) {
    std::lock_guard lock(mutex_);
    return ports_.at(port).port->transfersReceived();
}

void UsbBusServer::send(int fd, const WireMessage& m) {
    const std::vector<uint8_t> bytes = driver::simbus::encode(m);
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0) return;  // the client went away; its socket is reaped on read
        at += static_cast<std::size_t>(n);
    }
}

void UsbBusServer::done(int fd, uint32_t id, TransferStatus s, std::vector<uint8_t> data,
                        uint32_t length) {
    WireMessage m;
    m.type = WireType::Done;
    m.id = id;
    m.code = static_cast<uint8_t>(s);
    m.length = data.empty() ? length : static_cast<uint32_t>(data.size());
    m.data = std::move(data);
    send(fd, m);
}

void UsbBusServer::broadcast(const WireMessage& m) {
    for (const Client& c : clients_) send(c.fd, m);
}

void UsbBusServer::announce(WireType type, uint32_t port) {
    WireMessage m;
    m.type = type;
    m.port = port;
    const driver::simbus::PortDevice d = record(port);
    m.data = driver::simbus::encodeDevices(std::span(&d, 1));
    broadcast(m);
}

void UsbBusServer::onSubmit(int fd, const WireMessage& m) {
    const auto it = ports_.find(m.port);
    if (it == ports_.end() || !it->second.plugged) {
        done(fd, m.id, TransferStatus::NoDevice);
        return;
    }
    UsbPort& port = *it->second.port;
    const auto type = static_cast<TransferType>(m.code);
    if (type == TransferType::Control) {
        if (m.data.size() < kSetupSize) {
            done(fd, m.id, TransferStatus::Error);
            return;
        }
        const auto setup = std::span(m.data).first(kSetupSize);
        const auto reply = port.control(setup, std::span(m.data).subspan(kSetupSize));
        if (!reply) {
            done(fd, m.id, TransferStatus::Stalled);
            return;
        }
        const bool in = (setup[0] & 0x80u) != 0;
        done(fd, m.id, TransferStatus::Completed, in ? *reply : std::vector<uint8_t>{},
             static_cast<uint32_t>(m.data.size() - kSetupSize));
        return;
    }
    if (port.stalled(m.endpoint)) {
        done(fd, m.id, TransferStatus::Stalled);
        return;
    }
    if ((m.endpoint & 0x80u) == 0) {
        port.out(m.endpoint, m.data, UsbClock::now());
        done(fd, m.id, TransferStatus::Completed, {}, static_cast<uint32_t>(m.data.size()));
        return;
    }
    pending_.push_back({fd, m.id, m.port, m.endpoint, m.length, {}});
}

void UsbBusServer::onMessage(int fd, WireMessage m) {
    switch (m.type) {
        case WireType::List: {
            std::vector<driver::simbus::PortDevice> devices;
            for (const auto& [port, a] : ports_)
                if (a.plugged) devices.push_back(record(port));
            WireMessage reply;
            reply.type = WireType::DeviceList;
            reply.id = m.id;
            reply.data = driver::simbus::encodeDevices(devices);
            send(fd, reply);
            return;
        }
        case WireType::Open: {
            const auto it = ports_.find(m.port);
            const bool there = it != ports_.end() && it->second.plugged;
            done(fd, m.id, there ? TransferStatus::Completed : TransferStatus::NoDevice);
            return;
        }
        case WireType::Submit:
            onSubmit(fd, m);
            return;
        case WireType::Cancel:
            for (auto it = pending_.begin(); it != pending_.end(); ++it) {
                if (it->fd == fd && it->id == m.id) {
                    done(fd, m.id, TransferStatus::Cancelled);
                    pending_.erase(it);
                    return;
                }
            }
            return;
        case WireType::ClearHalt:
        case WireType::Reset: {
            const auto it = ports_.find(m.port);
            if (it == ports_.end() || !it->second.plugged) {
                done(fd, m.id, TransferStatus::NoDevice);
                return;
            }
            if (m.type == WireType::ClearHalt)
                it->second.port->clearHalt(m.endpoint);
            else
                it->second.port->flush();
            done(fd, m.id, TransferStatus::Completed);
            return;
        }
        default:
            return;  // answers never travel towards the bus
    }
}

void UsbBusServer::service(UsbClock::time_point now) {
    for (auto it = pending_.begin(); it != pending_.end();) {
        UsbPort& port = *ports_.at(it->port).port;
        const std::size_t packet = it->endpoint == kInterruptIn ? kInterruptPacket : kUsbPacket;
        bool finished = false;
        while (!finished) {
            auto p = port.takePacket(it->endpoint, now);
            if (!p) break;
            if (p->size() > it->wanted - it->collected.size()) {
                // More than the transfer has room for: the host sees an overflow.
                done(it->fd, it->id, TransferStatus::Overflow);
                finished = true;
                break;
            }
            it->collected.insert(it->collected.end(), p->begin(), p->end());
            // A short packet or a full buffer ends a USB transfer.
            if (p->size() < packet || it->collected.size() == it->wanted) {
                done(it->fd, it->id, TransferStatus::Completed, it->collected,
                     static_cast<uint32_t>(it->collected.size()));
                finished = true;
            }
        }
        it = finished ? pending_.erase(it) : std::next(it);
    }
}

int UsbBusServer::pollTimeout(UsbClock::time_point now) const {
    auto next = UsbClock::time_point::max();
    for (const PendingIn& p : pending_) {
        const auto due = ports_.at(p.port).port->nextDue(p.endpoint);
        if (due) next = std::min(next, *due);
    }
    return pollTimeoutUntil(next, now);
}

bool UsbBusServer::readClient(Client& c) {
    std::array<uint8_t, 16384> chunk;
    for (;;) {
        const ssize_t n = ::recv(c.fd, chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        c.input.insert(c.input.end(), chunk.begin(), chunk.begin() + n);
        std::size_t at = 0;
        for (;;) {
            auto d = driver::simbus::decode(std::span(c.input).subspan(at));
            if (d.state == driver::simbus::DecodeState::NeedMore) break;
            if (d.state == driver::simbus::DecodeState::Invalid) return false;
            at += d.consumed;
            onMessage(c.fd, std::move(d.message));
        }
        c.input.erase(c.input.begin(), c.input.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

void UsbBusServer::run() {
    for (;;) {
        std::vector<pollfd> fds;
        int timeout = -1;
        {
            std::lock_guard lock(mutex_);
            fds.push_back({wake_, POLLIN, 0});
            fds.push_back({listen_, POLLIN, 0});
            for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
            timeout = pollTimeout(UsbClock::now());
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return;
        std::lock_guard lock(mutex_);
        if (fds[0].revents & POLLIN) {
            uint64_t value = 0;
            [[maybe_unused]] const ssize_t n = ::read(wake_, &value, sizeof value);
            if (value >= (uint64_t{1} << 32)) return;
        }
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) clients_.push_back({fd, {}});
        }
        for (auto it = clients_.begin(); it != clients_.end();) {
            if (readClient(*it)) {
                ++it;
                continue;
            }
            // A driver that went away leaves nothing pending behind.
            const int fd = it->fd;
            pending_.remove_if([fd](const PendingIn& p) { return p.fd == fd; });
            ::close(fd);
            it = clients_.erase(it);
        }
        service(UsbClock::now());
    }
}

}  // namespace zelvo::sim
