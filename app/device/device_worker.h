// The worker thread of one window.  It repeats one pass (a cycle with its
// sleeps) for as long as it is resumed.  Parking and stopping take effect
// only between two passes, never inside one, so an exchange on the link is
// always finished; a sleep ends early when either is asked for.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace oscilane {

class DeviceWorker {
  public:
    using Pass = std::function<void(DeviceWorker&)>;

    // Starts the thread parked.
    explicit DeviceWorker(Pass pass);
    // Stops and joins the thread.
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    void resume();
    // Returns once the worker is parked between two passes.  While it waits,
    // whileWaiting (when given) runs about every 50 ms: a chance to cut short
    // a long exchange that the pass is still in.
    void park(const std::function<void()>& whileWaiting = {});
    bool isParked() const;

    // For the pass: sleeps ms, or less when parking or stopping is asked for;
    // false then, and the pass should end.
    bool sleep(int ms);

  private:
    void run();
    bool interrupted() const { return parkRequested_ || stopRequested_; }

    Pass pass_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool parkRequested_ = true;
    bool parked_ = false;
    bool stopRequested_ = false;
    std::thread thread_;
};

}  // namespace oscilane
