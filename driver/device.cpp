#include "device.h"

#include <algorithm>

namespace zelvo::driver {
namespace {

using zdev::DriverCommand;
using zdev::PipeNumber;
using zdev::Status;

constexpr std::size_t kSetupSize = 8;
// Control requests are answered by the device's own firmware quickly; one
// that hangs must not hold its caller for ever.
constexpr int32_t kControlTimeoutMs = 5000;

uint32_t le32(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
void putLe32(std::span<uint8_t> b, std::size_t at, uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

const EndpointInfo* findEndpoint(const BusDeviceInfo& info, uint8_t address) {
    for (const EndpointInfo& e : info.endpoints)
        if (e.address == address) return &e;
    return nullptr;
}

struct PipeRole {
    PipeNumber number;
    uint8_t address;
    TransferType type;
};
constexpr std::array<PipeRole, 4> kPipeRoles{{
    {PipeNumber::Interrupt, 0x81, TransferType::Interrupt},
    {PipeNumber::BulkIn, 0x82, TransferType::Bulk},
    {PipeNumber::BulkOut, 0x02, TransferType::Bulk},
    {PipeNumber::AuxOut, 0x01, TransferType::Bulk},
}};

constexpr std::size_t indexOf(PipeNumber n) { return static_cast<std::size_t>(n) - 5; }

// A bulk endpoint of at most this packet size cannot carry the instrument's packets.
constexpr uint16_t kSmallestRefusedPacket = 8;

}  // namespace

std::shared_ptr<Device> Device::start(Bus& bus, const BusDeviceInfo& info) {
    for (uint8_t bulk : {uint8_t{0x82}, uint8_t{0x02}}) {
        const EndpointInfo* e = findEndpoint(info, bulk);
        if (e == nullptr || e->type != TransferType::Bulk ||
            e->maxPacketSize <= kSmallestRefusedPacket)
            return nullptr;
    }
    return std::make_shared<Device>(bus, info);
}

Device::Device(Bus& bus, BusDeviceInfo info) : bus_(bus), info_(std::move(info)) {
    for (const PipeRole& role : kPipeRoles) {
        const EndpointInfo* e = findEndpoint(info_, role.address);
        if (e != nullptr && e->type == role.type)
            pipes_[indexOf(role.number)] = std::make_unique<Pipe>(role.address, role.type);
    }
    if (Pipe* aux = pipes_[indexOf(PipeNumber::AuxOut)].get())
        aux->setTimeout(kDefaultAuxTimeoutMs);
    control_.setTimeout(kControlTimeoutMs);
    watchdog_ = std::thread([this] { watch(); });
}

Device::~Device() { stopThreads(); }

void Device::stopThreads() {
    std::unique_ptr<BufferedUpload> up;
    std::unique_ptr<BufferedDownload> down;
    {
        std::lock_guard lock(mutex_);
        up = std::move(upload_);
        down = std::move(download_);
    }
    up.reset();
    down.reset();
    {
        std::lock_guard lock(watchMutex_);
        stopWatch_ = true;
    }
    watchWake_.notify_all();
    if (watchdog_.joinable()) watchdog_.join();
}

Status Device::open() {
    std::lock_guard lock(mutex_);
    if (removed_) return Status::DeviceNotConnected;
    if (exclusive_ && openCount_ > 0) return Status::AccessDenied;
    if (openCount_ == 0) {
        std::unique_ptr<BusDevice> d = bus_.open(info_);
        if (!d) return Status::DeviceNotConnected;
        active_ = std::move(d);
    }
    ++openCount_;
    return Status::Success;
}

void Device::close() {
    std::unique_ptr<BufferedUpload> up;
    std::unique_ptr<BufferedDownload> down;
    std::shared_ptr<BusDevice> released;
    {
        std::lock_guard lock(mutex_);
        if (openCount_ == 0 || --openCount_ > 0) return;
        up = std::move(upload_);
        down = std::move(download_);
        released = std::move(active_);
    }
    // The last handle: nothing may stay in flight on the device it releases.
    up.reset();
    down.reset();
    abortAll();
}

void Device::remove() {
    {
        std::lock_guard lock(mutex_);
        removed_ = true;
        active_.reset();
    }
    abortAllDeviceGone();
    stopThreads();
}

std::shared_ptr<BusDevice> Device::active() {
    std::lock_guard lock(mutex_);
    return active_;
}

Pipe* Device::pipe(uint32_t number) {
    if (number < 5 || number > 8) return nullptr;
    return pipes_[number - 5].get();
}

void Device::abortAll() {
    control_.abort();
    for (auto& p : pipes_)
        if (p) p->abort();
}

void Device::abortAllDeviceGone() {
    control_.abortDeviceGone();
    for (auto& p : pipes_)
        if (p) p->abortDeviceGone();
}

void Device::wakeWatchdog() {
    {
        std::lock_guard lock(watchMutex_);
        woken_ = true;
    }
    watchWake_.notify_all();
}

void Device::watch() {
    // Sleeps until the earliest deadline of a transfer in flight (at most a
    // second), then cancels every transfer whose deadline has passed.
    std::unique_lock lock(watchMutex_);
    while (!stopWatch_) {
        lock.unlock();
        auto until = Clock::now() + std::chrono::seconds(1);
        const auto consider = [&](Pipe& p) {
            if (const auto d = p.earliestDeadline(); d && *d < until) until = *d;
        };
        consider(control_);
        for (auto& p : pipes_)
            if (p) consider(*p);
        lock.lock();
        watchWake_.wait_until(lock, until, [this] { return stopWatch_ || woken_; });
        woken_ = false;
        lock.unlock();
        const auto now = Clock::now();
        control_.abortExpired(now);
        for (auto& p : pipes_)
            if (p) p->abortExpired(now);
        lock.lock();
    }
}

Status Device::control(std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned) {
    returned = 0;
    if (in.size() < zdev::kRecordHeaderSize || out.size() < zdev::kRecordHeaderSize)
        return Status::BufferTooSmall;
    const uint32_t command = le32(in, zdev::kCommandOffset);
    const uint32_t length = le32(in, zdev::kLengthOffset);
    // in and out may alias: the payload is copied before anything is written.
    const auto offered = in.subspan(zdev::kRecordHeaderSize);
    const std::vector<uint8_t> payload(
        offered.begin(), offered.begin() + std::min<std::size_t>(length, offered.size()));
    const Result r = execute(command, length, payload, out.subspan(zdev::kRecordHeaderSize));
    putLe32(out, zdev::kCommandOffset, static_cast<uint32_t>(r.status));
    putLe32(out, zdev::kLengthOffset, static_cast<uint32_t>(r.length));
    returned = static_cast<uint32_t>(zdev::kRecordHeaderSize + r.length);
    return r.status;
}

Device::Result Device::execute(uint32_t command, uint32_t length, std::span<const uint8_t> payload,
                               std::span<uint8_t> data) {
    // Commands that send data must carry all of it; those that fetch data
    // must have room for what they ask.
    const bool sends = command == static_cast<uint32_t>(DriverCommand::WriteBulk) ||
                       command == static_cast<uint32_t>(DriverCommand::WriteAux) ||
                       command == static_cast<uint32_t>(DriverCommand::ControlTransfer);
    if (sends && payload.size() < length) return {Status::BufferTooSmall, 0};
    const auto wanted = [&](std::size_t n) -> std::optional<std::span<uint8_t>> {
        if (n > data.size()) return std::nullopt;
        return data.first(n);
    };

    switch (static_cast<DriverCommand>(command)) {
        case DriverCommand::Version:
            if (data.empty()) return {Status::BufferTooSmall, 0};
            data[0] = zdev::kDriverVersion;
            return {Status::Success, 1};
        case DriverCommand::ConfigDescriptor: {
            const auto dest = wanted(length);
            if (!dest) return {Status::BufferTooSmall, 0};
            const std::array<uint8_t, kSetupSize> setup{0x80,
                                                        0x06,
                                                        0x00,
                                                        0x02,
                                                        0x00,
                                                        0x00,
                                                        static_cast<uint8_t>(length),
                                                        static_cast<uint8_t>(length >> 8)};
            return controlTransfer(setup, {}, *dest);
        }
        case DriverCommand::ControlTransfer:
            return vendorOrStandard(payload, data);
        case DriverCommand::ReadInterrupt:
        case DriverCommand::ReadBulk: {
            if (length > zdev::kMaxTransferSize) return {Status::InvalidParameter, 0};
            const auto dest = wanted(length);
            if (!dest) return {Status::BufferTooSmall, 0};
            if (static_cast<DriverCommand>(command) == DriverCommand::ReadBulk) {
                std::unique_lock lock(mutex_);
                if (upload_) return {Status::Success, upload_->take(*dest)};
            }
            const PipeNumber n = static_cast<DriverCommand>(command) == DriverCommand::ReadBulk
                                     ? PipeNumber::BulkIn
                                     : PipeNumber::Interrupt;
            return pipeTransfer(n, *dest);
        }
        case DriverCommand::WriteBulk: {
            if (length > zdev::kMaxTransferSize) return {Status::InvalidParameter, 0};
            {
                std::unique_lock lock(mutex_);
                if (download_) {
                    if (!download_->queue(payload)) return {Status::BufferOverflow, 0};
                    return {Status::Success, payload.size()};
                }
            }
            std::vector<uint8_t> bytes(payload.begin(), payload.end());
            return pipeTransfer(PipeNumber::BulkOut, bytes);
        }
        case DriverCommand::WriteAux:
            if (length > zdev::kMaxTransferSize) return {Status::InvalidParameter, 0};
            return writeAux(payload);
        case DriverCommand::SetExclusive: {
            if (payload.empty() || data.size() < 4) return {Status::InvalidParameter, 0};
            std::lock_guard lock(mutex_);
            exclusive_ = payload[0] != 0;
            putLe32(data, 0, static_cast<uint32_t>(openCount_));
            return {Status::Success, 4};
        }
        case DriverCommand::ResetDevice: {
            const auto d = active();
            if (!d) return {Status::DeviceNotConnected, 0};
            return {d->resetDevice() ? Status::Success : Status::Unsuccessful, 0};
        }
        case DriverCommand::ResetPipe:
        case DriverCommand::AbortPipe: {
            if (payload.size() < 4) return {Status::InvalidParameter, 0};
            const uint32_t number = le32(payload, 0);
            Pipe* p = pipe(number);
            if (p == nullptr) return {Status::NoSuchDevice, 0};
            if (static_cast<DriverCommand>(command) == DriverCommand::AbortPipe) {
                p->abort();
                return {Status::Success, 0};
            }
            return resetPipe(number);
        }
        case DriverCommand::SetTimeouts:
            return setTimeouts(length, payload);
        case DriverCommand::BufferedUpload:
        case DriverCommand::BufferedDownload:
            return buffered(static_cast<DriverCommand>(command), payload, data);
    }
    return {Status::InvalidParameter, 0};
}

Device::Result Device::pipeTransfer(PipeNumber n, std::span<uint8_t> buffer) {
    Pipe* p = pipe(static_cast<uint32_t>(n));
    if (p == nullptr) return {Status::NoSuchDevice, 0};
    const auto d = active();
    if (!d) return {Status::DeviceNotConnected, 0};
    std::size_t moved = 0;
    const Status s = p->transfer(*d, buffer, moved, [this] { wakeWatchdog(); });
    return {s, s == Status::Success ? moved : 0};
}

Device::Result Device::controlTransfer(std::span<const uint8_t> setup,
                                       std::span<const uint8_t> outData,
                                       std::span<uint8_t> inData) {
    const auto d = active();
    if (!d) return {Status::DeviceNotConnected, 0};
    std::vector<uint8_t> buffer(setup.begin(), setup.end());
    const bool in = (setup[0] & 0x80u) != 0;
    if (in)
        buffer.resize(kSetupSize + inData.size());
    else
        buffer.insert(buffer.end(), outData.begin(), outData.end());
    std::size_t moved = 0;
    const Status s = control_.transfer(*d, buffer, moved, [this] { wakeWatchdog(); });
    if (s != Status::Success) return {s, 0};
    if (!in) return {s, moved};
    const std::size_t kept = std::min(moved, inData.size());
    std::copy_n(buffer.begin() + kSetupSize, kept, inData.begin());
    return {s, kept};
}

Device::Result Device::vendorOrStandard(std::span<const uint8_t> payload, std::span<uint8_t> data) {
    if (payload.size() < kSetupSize) return {Status::InvalidParameter, 0};
    std::array<uint8_t, kSetupSize> setup{};
    std::copy_n(payload.begin(), kSetupSize, setup.begin());
    const unsigned type = (setup[0] >> 5) & 3u;
    const uint16_t value = static_cast<uint16_t>(setup[2] | (setup[3] << 8));
    const std::size_t wLength = static_cast<std::size_t>(setup[6] | (setup[7] << 8));
    constexpr unsigned kStandard = 0, kVendor = 2;
    constexpr uint8_t kGetStatus = 0, kClearFeature = 1, kSetFeature = 3, kGetDescriptor = 6;
    if (type == kStandard) {
        const uint8_t request = setup[1];
        if (request == kGetDescriptor) {
            setup[0] = 0x80;
            // Only the device and configuration descriptors are served.
            if (value < 0x0100 || value > 0x01FF) setup[3] = 0x02;
        } else if (request != kGetStatus && request != kClearFeature && request != kSetFeature) {
            return {Status::InvalidParameter, 0};
        }
    } else if (type != kVendor) {
        return {Status::InvalidParameter, 0};
    }
    if ((setup[0] & 0x80u) != 0) {
        if (wLength > data.size()) return {Status::BufferTooSmall, 0};
        return controlTransfer(setup, {}, data.first(wLength));
    }
    const auto outData = payload.subspan(kSetupSize);
    if (outData.size() < wLength) return {Status::InvalidParameter, 0};
    return controlTransfer(setup, outData.first(wLength), {});
}

Device::Result Device::writeAux(std::span<const uint8_t> payload) {
    std::vector<uint8_t> bytes(payload.begin(), payload.end());
    const Result r = pipeTransfer(PipeNumber::AuxOut, bytes);
    // A refused auxiliary transfer leaves the pipe halted; bring it back.
    if (r.status == Status::Unsuccessful) resetPipe(static_cast<uint32_t>(PipeNumber::AuxOut));
    return r;
}

Device::Result Device::resetPipe(uint32_t number) {
    Pipe* p = pipe(number);
    const auto d = active();
    if (!d) return {Status::DeviceNotConnected, 0};
    if (d->clearHalt(p->endpoint())) return {Status::Success, 0};
    // A pipe that cannot be reset is recovered by resetting the device.
    return {d->resetDevice() ? Status::Success : Status::Unsuccessful, 0};
}

Device::Result Device::setTimeouts(uint32_t length, std::span<const uint8_t> payload) {
    if (length < 8 || payload.size() < 8) return {Status::InvalidParameter, 0};
    // A time-out of 0 would abort every transfer at once; it means the shortest wait.
    const auto ms = [&](std::size_t at) {
        const auto v = static_cast<int32_t>(le32(payload, at));
        return v == 0 ? 1 : v;
    };
    const auto apply = [&](PipeNumber n, int32_t v) {
        if (Pipe* p = pipe(static_cast<uint32_t>(n))) p->setTimeout(v);
    };
    apply(PipeNumber::BulkOut, ms(0));
    apply(PipeNumber::BulkIn, ms(4));
    if (length >= 16 && payload.size() >= 16) {
        apply(PipeNumber::AuxOut, ms(8));
        apply(PipeNumber::Interrupt, ms(12));
    }
    return {Status::Success, 0};
}

Device::Result Device::buffered(DriverCommand which, std::span<const uint8_t> payload,
                                std::span<uint8_t> data) {
    if (payload.empty()) return {Status::InvalidParameter, 0};
    const bool upload = which == DriverCommand::BufferedUpload;
    const Pipe* p = pipe(static_cast<uint32_t>(upload ? PipeNumber::BulkIn : PipeNumber::BulkOut));
    std::unique_ptr<BufferedUpload> oldUpload;
    std::unique_ptr<BufferedDownload> oldDownload;
    std::lock_guard lock(mutex_);
    switch (payload[0]) {
        case zdev::kBufferQuery: {
            if (data.size() < 4) return {Status::BufferTooSmall, 0};
            std::size_t n = 0;
            if (upload && upload_) n = upload_->records();
            if (!upload && download_) n = download_->records();
            putLe32(data, 0, static_cast<uint32_t>(n));
            return {Status::Success, 4};
        }
        case zdev::kBufferStop:
            // The threads end once the lock is released (the objects die after it).
            oldUpload = upload ? std::move(upload_) : nullptr;
            oldDownload = upload ? nullptr : std::move(download_);
            return {Status::Success, 0};
        case zdev::kBufferStart:
            if (!active_) return {Status::DeviceNotConnected, 0};
            if (upload) {
                if (upload_)
                    upload_->clear();
                else
                    upload_ = std::make_unique<BufferedUpload>(active_, p->endpoint());
            } else {
                if (download_) {
                    download_->clear();
                } else {
                    download_ = std::make_unique<BufferedDownload>(
                        [this](std::span<uint8_t> record) {
                            return pipeTransfer(PipeNumber::BulkOut, record).status;
                        },
                        [this] { pipe(static_cast<uint32_t>(PipeNumber::BulkOut))->abort(); });
                }
            }
            return {Status::Success, 0};
        default:
            return {Status::InvalidParameter, 0};
    }
}

}  // namespace zelvo::driver
