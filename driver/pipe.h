// One endpoint of a started device: runs transfers to completion, remembers
// which are in flight and when they started, so the watchdog can end those
// past their deadline and an abort can end them all.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <span>

#include "zelvo/driver/bus.h"
#include "zelvo/zdev_record.h"

namespace zelvo::driver {

using Clock = std::chrono::steady_clock;

// A time-out in milliseconds; negative waits for ever.
inline constexpr int32_t kNoTimeout = -1;

class Pipe {
  public:
    Pipe(uint8_t endpoint, TransferType type) : endpoint_(endpoint), type_(type) {}
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    uint8_t endpoint() const { return endpoint_; }

    // Runs one transfer on device and waits for its completion; a transfer
    // ended by abort() or by the watchdog reports Timeout, one ended by
    // abortDeviceGone() DeviceNotConnected.  wake is called
    // once the transfer is in flight so the watchdog can take up its deadline.
    // The caller keeps device alive until this returns.
    zdev::Status transfer(BusDevice& device, std::span<uint8_t> buffer, std::size_t& moved,
                          const std::function<void()>& wake);

    // Cancels every transfer in flight.
    void abort();
    // Cancels every transfer in flight because the device went away: they
    // report DeviceNotConnected rather than Timeout, so a caller does not
    // take a departed device for a silent one.
    void abortDeviceGone();
    // Cancels the transfers in flight whose deadline is not after now.
    void abortExpired(Clock::time_point now);
    // The earliest deadline among the transfers in flight; none without a time-out.
    std::optional<Clock::time_point> earliestDeadline();
    bool busy();

    void setTimeout(int32_t ms);
    int32_t timeout();

  private:
    struct Flight {
        BusDevice* device;  // the one it was submitted on
        std::optional<TransferId> id;
        Clock::time_point start;
        bool done = false;
        bool cancelRequested = false;
        TransferResult result{TransferStatus::Error, 0};
        bool deviceGone = false;  // cancelled because the device left
    };
    static void cancelLocked(Flight& f);

    const uint8_t endpoint_;
    const TransferType type_;
    std::mutex mutex_;
    std::condition_variable completed_;
    std::list<Flight*> flights_;
    int32_t timeoutMs_ = kNoTimeout;
};

// The record status for a transfer's outcome.
zdev::Status statusOf(TransferStatus s);

}  // namespace zelvo::driver
