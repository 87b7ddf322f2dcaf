#include "buffered_transfer.h"

#include <algorithm>
#include <chrono>

namespace zelvo::driver {

BufferedUpload::BufferedUpload(std::shared_ptr<BusDevice> device, uint8_t endpoint)
    : device_(std::move(device)), endpoint_(endpoint) {
    thread_ = std::thread([this] { run(); });
}

BufferedUpload::~BufferedUpload() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::size_t BufferedUpload::take(std::span<uint8_t> dest) {
    std::lock_guard lock(mutex_);
    return ring_.take(dest);
}

std::size_t BufferedUpload::records() {
    std::lock_guard lock(mutex_);
    return ring_.count();
}

void BufferedUpload::clear() {
    std::lock_guard lock(mutex_);
    ring_.clear();
}

bool BufferedUpload::anyResult() const {
    return std::any_of(slots_.begin(), slots_.end(),
                       [](const Slot& s) { return s.result.has_value(); });
}

bool BufferedUpload::anyInFlight() const {
    return std::any_of(slots_.begin(), slots_.end(),
                       [](const Slot& s) { return s.inFlight && !s.result; });
}

void BufferedUpload::submitIdle(std::unique_lock<std::mutex>& lock) {
    for (std::size_t k = 0; k < slots_.size() && !gone_; ++k) {
        Slot& s = slots_[k];
        if (s.inFlight) continue;
        s.inFlight = true;
        lock.unlock();
        const auto id =
            device_->submit(TransferType::Bulk, endpoint_, s.buffer, [this, k](TransferResult r) {
                std::lock_guard done(mutex_);
                slots_[k].result = r;
                changed_.notify_all();
            });
        lock.lock();
        s.id = id;
        if (!id) {
            s.inFlight = false;
            gone_ = true;
        }
    }
}

void BufferedUpload::run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        submitIdle(lock);
        changed_.wait(lock, [this] { return stop_ || anyResult(); });
        for (Slot& s : slots_) {
            if (!s.result) continue;
            const TransferResult r = *s.result;
            s.result.reset();
            s.inFlight = false;
            if (r.status == TransferStatus::Completed) {
                ring_.push(std::span(s.buffer).first(std::min(r.length, s.buffer.size())));
            } else if (r.status == TransferStatus::NoDevice) {
                gone_ = true;
            } else if (r.status != TransferStatus::Cancelled) {
                lock.unlock();
                if (!device_->clearHalt(endpoint_)) device_->resetDevice();
                lock.lock();
            }
        }
    }
    // Every read must have completed before its buffer goes away.
    for (Slot& s : slots_)
        if (s.inFlight && !s.result && s.id) device_->cancel(*s.id);
    changed_.wait(lock, [this] { return !anyInFlight(); });
}

BufferedDownload::BufferedDownload(Send send, std::function<void()> abort)
    : send_(std::move(send)), abort_(std::move(abort)) {
    thread_ = std::thread([this] { run(); });
}

BufferedDownload::~BufferedDownload() {
    std::unique_lock lock(mutex_);
    stop_ = true;
    changed_.notify_all();
    // A send without a time-out may be waiting on the device: end it, pass after pass.
    while (!finished_) {
        lock.unlock();
        abort_();
        lock.lock();
        changed_.wait_for(lock, std::chrono::milliseconds(20), [this] { return finished_; });
    }
    lock.unlock();
    thread_.join();
}

bool BufferedDownload::queue(std::span<const uint8_t> data) {
    std::lock_guard lock(mutex_);
    if (!ring_.pushAll(data)) return false;
    changed_.notify_all();
    return true;
}

std::size_t BufferedDownload::records() {
    std::lock_guard lock(mutex_);
    return ring_.count();
}

void BufferedDownload::clear() {
    std::lock_guard lock(mutex_);
    ring_.clear();
}

void BufferedDownload::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || ring_.count() > 0; });
        if (stop_) break;
        auto record = ring_.pop();
        lock.unlock();
        send_(*record);
        lock.lock();
    }
    finished_ = true;
    changed_.notify_all();
}

}  // namespace zelvo::driver
