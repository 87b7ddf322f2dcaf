#include "device/device_worker.h"

namespace oscilane {
namespace {

constexpr std::chrono::milliseconds kParkPoll{50};

}  // namespace

DeviceWorker::DeviceWorker(Pass pass) : pass_(std::move(pass)), thread_([this] { run(); }) {}

DeviceWorker::~DeviceWorker() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void DeviceWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (parkRequested_) {
            parked_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !parkRequested_ || stopRequested_; });
            parked_ = false;
        }
        if (stopRequested_) return;
        lock.unlock();
        pass_(*this);
        lock.lock();
    }
}

void DeviceWorker::resume() {
    {
        std::lock_guard lock(mutex_);
        parkRequested_ = false;
    }
    changed_.notify_all();
}

void DeviceWorker::park(const std::function<void()>& whileWaiting) {
    std::unique_lock lock(mutex_);
    parkRequested_ = true;
    changed_.notify_all();
    while (!parked_) {
        if (changed_.wait_for(lock, kParkPoll, [this] { return parked_; })) break;
        if (whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
}

bool DeviceWorker::isParked() const {
    std::lock_guard lock(mutex_);
    return parked_;
}

bool DeviceWorker::sleep(int ms) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, std::chrono::milliseconds(ms),
                              [this] { return interrupted(); });
}

}  // namespace oscilane
