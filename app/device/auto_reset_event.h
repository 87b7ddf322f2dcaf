// An auto-reset event: taking it (tryTake or take) makes it non-signalled
// again, set() gives it back.  The worker holds a document's event for a
// whole cycle; the window's timer takes it without waiting to copy data.
#pragma once

#include <condition_variable>
#include <mutex>

namespace oscilane {

class AutoResetEvent {
  public:
    explicit AutoResetEvent(bool signalled) : signalled_(signalled) {}

    // Takes the event if it is signalled, without waiting.
    bool tryTake() {
        std::lock_guard lock(mutex_);
        const bool was = signalled_;
        signalled_ = false;
        return was;
    }
    // Waits until the event is signalled and takes it.
    void take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
    }
    void set() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_one();
    }
    void reset() {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_;
};

}  // namespace oscilane
