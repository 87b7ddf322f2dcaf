#include "interrupt_reader.h"

#include <chrono>

#include "driver_record.h"

namespace zelvo::zdev {
namespace {

constexpr uint32_t kInterruptSize = 8;
// Pause after a failed read, so a device in trouble is not polled flat out.
constexpr std::chrono::milliseconds kRetryPause{5};
// How often a stop aborts the interrupt pipe until the thread has ended.
constexpr std::chrono::milliseconds kStopPass{20};

}  // namespace

InterruptReader::InterruptReader(const std::string& path, ZdevIntRoutine routine)
    : routine_(routine) {
    if (driver::Driver::instance().open(path, handle_) != Status::Success) return;
    thread_ = std::thread([this] { run(); });
}

InterruptReader::~InterruptReader() {
    std::unique_lock lock(mutex_);
    routine_ = nullptr;
    if (thread_.joinable()) {
        while (!finished_) {
            lock.unlock();
            sendWord(handle_, DriverCommand::AbortPipe,
                     static_cast<uint32_t>(PipeNumber::Interrupt));
            lock.lock();
            stopped_.wait_for(lock, kStopPass, [this] { return finished_; });
        }
        lock.unlock();
        thread_.join();
    } else {
        lock.unlock();
    }
    driver::Driver::instance().close(handle_);
}

void InterruptReader::run() {
    for (;;) {
        ZdevIntRoutine routine;
        {
            std::lock_guard lock(mutex_);
            routine = routine_;
        }
        if (routine == nullptr) break;
        std::vector<uint8_t> record =
            makeRecord(DriverCommand::ReadInterrupt, kInterruptSize, {}, kInterruptSize);
        const Completed c = sendRecord(handle_, record, kRecordHeaderSize);
        if (c.ok) {
            std::lock_guard lock(mutex_);
            // The routine is called under the lock so that once a stop has
            // cleared it, it is never called again.
            if (routine_ != nullptr) routine_(record.data() + kRecordHeaderSize);
        } else {
            std::this_thread::sleep_for(kRetryPause);
        }
    }
    std::lock_guard lock(mutex_);
    finished_ = true;
    stopped_.notify_all();
}

}  // namespace zelvo::zdev
