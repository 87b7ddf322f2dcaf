#include "simbus/sim_bus.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

namespace zelvo::driver::simbus {
namespace {

// How long a list, open, clear-halt or reset request waits for the server.
constexpr std::chrono::seconds kCallBudget{5};

class SimBusDevice final : public BusDevice {
  public:
    SimBusDevice(SimBus& bus, uint32_t port) : bus_(bus), port_(port) {}
    std::optional<TransferId> submit(TransferType type, uint8_t endpoint, std::span<uint8_t> buffer,
                                     Completion done) override {
        return bus_.submit(port_, type, endpoint, buffer, std::move(done));
    }
    void cancel(TransferId id) override { bus_.cancel(id); }
    bool clearHalt(uint8_t endpoint) override { return simple(WireType::ClearHalt, endpoint); }
    bool resetDevice() override { return simple(WireType::Reset, 0); }

  private:
    bool simple(WireType type, uint8_t endpoint) {
        WireMessage m;
        m.type = type;
        m.port = port_;
        m.endpoint = endpoint;
        const auto reply = bus_.call(std::move(m));
        return reply && reply->code == static_cast<uint8_t>(TransferStatus::Completed);
    }
    SimBus& bus_;
    uint32_t port_;
};

bool portOf(const std::string& path, const std::map<uint32_t, BusDeviceInfo>& known,
            uint32_t& port) {
    for (const auto& [p, info] : known) {
        if (info.path == path) {
            port = p;
            return true;
        }
    }
    return false;
}

}  // namespace

SimBus::SimBus(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        throw std::system_error(ENAMETOOLONG, std::generic_category(), socketPath);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    socket_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0) throw std::system_error(errno, std::generic_category(), "socket");
    if (::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int e = errno;
        ::close(socket_);
        throw std::system_error(e, std::generic_category(), "connect " + socketPath);
    }
    reader_ = std::thread([this] { readLoop(); });
}

SimBus::~SimBus() {
    // Ending the stream wakes the reader, which completes what is still pending.
    ::shutdown(socket_, SHUT_RDWR);
    reader_.join();
    ::close(socket_);
}

uint32_t SimBus::nextId() {
    // Called under mutex_.  Id 0 is never used, so a zero id marks no request.
    if (++lastId_ == 0) ++lastId_;
    return lastId_;
}

bool SimBus::send(const WireMessage& m) {
    const std::vector<uint8_t> bytes = encode(m);
    std::lock_guard lock(sendMutex_);
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::send(socket_, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<WireMessage> SimBus::call(WireMessage request) {
    Waiter waiter;
    {
        std::lock_guard lock(mutex_);
        if (!connected_) return std::nullopt;
        request.id = nextId();
        waiters_[request.id] = &waiter;
    }
    const bool sent = send(request);
    std::unique_lock lock(mutex_);
    if (sent) answered_.wait_for(lock, kCallBudget, [&] { return waiter.finished; });
    waiters_.erase(request.id);
    return waiter.reply;
}

std::vector<BusDeviceInfo> SimBus::devices() {
    WireMessage m;
    m.type = WireType::List;
    const auto reply = call(std::move(m));
    if (!reply || reply->type != WireType::DeviceList) return {};
    const auto list = decodeDevices(reply->data);
    if (!list) return {};
    std::vector<BusDeviceInfo> out;
    std::lock_guard lock(mutex_);
    known_.clear();
    for (const PortDevice& d : *list) {
        known_[d.port] = d.info;
        out.push_back(d.info);
    }
    return out;
}

std::unique_ptr<BusDevice> SimBus::open(const BusDeviceInfo& device) {
    uint32_t port = 0;
    {
        std::lock_guard lock(mutex_);
        if (!portOf(device.path, known_, port)) return nullptr;
    }
    WireMessage m;
    m.type = WireType::Open;
    m.port = port;
    const auto reply = call(std::move(m));
    if (!reply || reply->code != static_cast<uint8_t>(TransferStatus::Completed)) return nullptr;
    return std::make_unique<SimBusDevice>(*this, port);
}

bool SimBus::watchPlugs(PlugHandler handler) {
    std::lock_guard lock(mutex_);
    plugHandler_ = std::move(handler);
    return true;
}

std::optional<TransferId> SimBus::submit(uint32_t port, TransferType type, uint8_t endpoint,
                                         std::span<uint8_t> buffer, Completion done) {
    constexpr std::size_t kSetupSize = 8;
    WireMessage m;
    m.type = WireType::Submit;
    m.port = port;
    m.endpoint = endpoint;
    m.code = static_cast<uint8_t>(type);
    bool in = (endpoint & 0x80u) != 0;
    std::span<uint8_t> landing = buffer;
    if (type == TransferType::Control) {
        if (buffer.size() < kSetupSize) return std::nullopt;
        in = (buffer[0] & 0x80u) != 0;
        landing = buffer.subspan(kSetupSize);
        // The setup packet always travels; OUT data follows it.
        m.data.assign(buffer.begin(), in ? buffer.begin() + kSetupSize : buffer.end());
        m.length = static_cast<uint32_t>(landing.size());
    } else if (in) {
        m.length = static_cast<uint32_t>(buffer.size());
    } else {
        m.data.assign(buffer.begin(), buffer.end());
        m.length = static_cast<uint32_t>(buffer.size());
    }
    {
        std::lock_guard lock(mutex_);
        if (!connected_) return std::nullopt;
        m.id = nextId();
        transfers_[m.id] = Pending{landing, in, std::move(done)};
    }
    if (!send(m)) {
        std::lock_guard lock(mutex_);
        // The reader may already have completed it on a lost connection.
        if (transfers_.erase(m.id) == 0) return m.id;
        return std::nullopt;
    }
    return m.id;
}

void SimBus::cancel(TransferId id) {
    WireMessage m;
    m.type = WireType::Cancel;
    m.id = static_cast<uint32_t>(id);
    send(m);
}

void SimBus::readLoop() {
    std::vector<uint8_t> stream;
    std::array<uint8_t, 16384> chunk;
    for (;;) {
        const ssize_t n = ::recv(socket_, chunk.data(), chunk.size(), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        stream.insert(stream.end(), chunk.begin(), chunk.begin() + n);
        bool broken = false;
        std::size_t at = 0;
        for (;;) {
            Decoded d = decode(std::span(stream).subspan(at));
            if (d.state == DecodeState::NeedMore) break;
            if (d.state == DecodeState::Invalid) {
                broken = true;
                break;
            }
            at += d.consumed;
            dispatch(std::move(d.message));
        }
        stream.erase(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(at));
        if (broken) break;
    }
    connectionLost();
}

void SimBus::dispatch(WireMessage m) {
    std::unique_lock lock(mutex_);
    switch (m.type) {
        case WireType::Plug:
        case WireType::Unplug: {
            const auto list = decodeDevices(m.data);
            if (!list || list->size() != 1) return;
            const BusDeviceInfo info = list->front().info;
            if (m.type == WireType::Plug)
                known_[m.port] = info;
            else
                known_.erase(m.port);
            PlugHandler handler = plugHandler_;
            lock.unlock();
            if (handler)
                handler(info, m.type == WireType::Plug ? PlugEvent::Arrived : PlugEvent::Left);
            return;
        }
        case WireType::Done: {
            if (auto w = waiters_.find(m.id); w != waiters_.end()) {
                w->second->reply = std::move(m);
                w->second->finished = true;
                answered_.notify_all();
                return;
            }
            const auto t = transfers_.find(m.id);
            if (t == transfers_.end()) return;
            Pending p = std::move(t->second);
            transfers_.erase(t);
            lock.unlock();
            TransferResult result{static_cast<TransferStatus>(m.code), m.length};
            if (m.code > static_cast<uint8_t>(TransferStatus::Overflow))
                result.status = TransferStatus::Error;
            if (p.in) {
                if (m.data.size() > p.buffer.size()) {
                    result = {TransferStatus::Overflow, 0};
                } else {
                    std::copy(m.data.begin(), m.data.end(), p.buffer.begin());
                    result.length = m.data.size();
                }
            } else {
                result.length = std::min<std::size_t>(result.length, p.buffer.size());
            }
            p.done(result);
            return;
        }
        case WireType::DeviceList:
            if (auto w = waiters_.find(m.id); w != waiters_.end()) {
                w->second->reply = std::move(m);
                w->second->finished = true;
                answered_.notify_all();
            }
            return;
        default:
            return;  // requests never travel towards the bus
    }
}

void SimBus::connectionLost() {
    std::unique_lock lock(mutex_);
    connected_ = false;
    for (auto& [id, w] : waiters_) w->finished = true;
    answered_.notify_all();
    std::map<uint32_t, Pending> pending = std::move(transfers_);
    transfers_.clear();
    std::map<uint32_t, BusDeviceInfo> gone = std::move(known_);
    known_.clear();
    PlugHandler handler = plugHandler_;
    lock.unlock();
    for (auto& [id, p] : pending) p.done({TransferStatus::NoDevice, 0});
    if (handler)
        for (const auto& [port, info] : gone) handler(info, PlugEvent::Left);
}

}  // namespace zelvo::driver::simbus
