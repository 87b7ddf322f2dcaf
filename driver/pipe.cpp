#include "pipe.h"

#include <algorithm>

namespace zelvo::driver {

zdev::Status statusOf(TransferStatus s) {
    switch (s) {
        case TransferStatus::Completed:
            return zdev::Status::Success;
        case TransferStatus::Cancelled:
            // Only aborts and the watchdog cancel, and callers see both as a time-out.
            return zdev::Status::Timeout;
        case TransferStatus::NoDevice:
            return zdev::Status::DeviceNotConnected;
        case TransferStatus::Overflow:
            return zdev::Status::BufferOverflow;
        case TransferStatus::Stalled:
        case TransferStatus::Error:
            break;
    }
    return zdev::Status::Unsuccessful;
}

void Pipe::setTimeout(int32_t ms) {
    std::lock_guard lock(mutex_);
    timeoutMs_ = ms;
}

int32_t Pipe::timeout() {
    std::lock_guard lock(mutex_);
    return timeoutMs_;
}

zdev::Status Pipe::transfer(BusDevice& device, std::span<uint8_t> buffer, std::size_t& moved,
                            const std::function<void()>& wake) {
    moved = 0;
    Flight flight{&device, std::nullopt, {}, false, false, {TransferStatus::Error, 0}, false};
    std::unique_lock lock(mutex_);
    flights_.push_back(&flight);
    flight.start = Clock::now();
    // The completion may run on the bus's thread before submit returns; it
    // only needs the lock, which submit does not hold.
    lock.unlock();
    const auto id = device.submit(type_, endpoint_, buffer, [this, &flight](TransferResult r) {
        std::lock_guard done(mutex_);
        flight.result = r;
        flight.done = true;
        completed_.notify_all();
    });
    lock.lock();
    if (!id) {
        flights_.remove(&flight);
        return zdev::Status::DeviceNotConnected;
    }
    flight.id = id;
    // An abort that came while the transfer was being submitted still applies.
    if (flight.cancelRequested && !flight.done) device.cancel(*id);
    lock.unlock();
    wake();
    lock.lock();
    completed_.wait(lock, [&] { return flight.done; });
    flights_.remove(&flight);
    moved = std::min(flight.result.length, buffer.size());
    if (flight.deviceGone && flight.result.status == TransferStatus::Cancelled)
        return zdev::Status::DeviceNotConnected;
    return statusOf(flight.result.status);
}

void Pipe::cancelLocked(Flight& f) {
    if (f.done || f.cancelRequested) return;
    f.cancelRequested = true;
    if (f.id) f.device->cancel(*f.id);
}

void Pipe::abort() {
    std::lock_guard lock(mutex_);
    for (Flight* f : flights_) cancelLocked(*f);
}

void Pipe::abortDeviceGone() {
    std::lock_guard lock(mutex_);
    for (Flight* f : flights_) {
        f->deviceGone = true;
        cancelLocked(*f);
    }
}

void Pipe::abortExpired(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (timeoutMs_ < 0) return;
    const auto limit = std::chrono::milliseconds(timeoutMs_);
    for (Flight* f : flights_)
        if (f->start + limit <= now) cancelLocked(*f);
}

std::optional<Clock::time_point> Pipe::earliestDeadline() {
    std::lock_guard lock(mutex_);
    if (timeoutMs_ < 0) return std::nullopt;
    std::optional<Clock::time_point> earliest;
    for (const Flight* f : flights_) {
        if (f->done || f->cancelRequested) continue;
        const auto d = f->start + std::chrono::milliseconds(timeoutMs_);
        if (!earliest || d < *earliest) earliest = d;
    }
    return earliest;
}

bool Pipe::busy() {
    std::lock_guard lock(mutex_);
    return !flights_.empty();
}

}  // namespace zelvo::driver
