// Buffered upload and download: a thread of their own keeps the bulk pipes
// busy through a ring of records, so the caller's reads and writes meet the
// ring instead of the bus.
#pragma once

#include <array>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "record_ring.h"
#include "zelvo/driver/bus.h"
#include "zelvo/zdev_record.h"

namespace zelvo::driver {

class BufferedUpload {
  public:
    // Keeps kReadsInFlight reads of one packet in flight on endpoint; a read
    // that fails resets the pipe, and the device when that fails too.
    BufferedUpload(std::shared_ptr<BusDevice> device, uint8_t endpoint);
    // Cancels the reads and waits for all of them to complete.
    ~BufferedUpload();
    BufferedUpload(const BufferedUpload&) = delete;
    BufferedUpload& operator=(const BufferedUpload&) = delete;

    std::size_t take(std::span<uint8_t> dest);
    std::size_t records();
    void clear();

    static constexpr std::size_t kReadsInFlight = 10;

  private:
    struct Slot {
        std::array<uint8_t, RecordRing::kRecordData> buffer{};
        std::optional<TransferId> id;
        bool inFlight = false;
        std::optional<TransferResult> result;
    };
    void run();
    void submitIdle(std::unique_lock<std::mutex>& lock);
    bool anyResult() const;
    bool anyInFlight() const;

    std::shared_ptr<BusDevice> device_;
    const uint8_t endpoint_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::array<Slot, kReadsInFlight> slots_;
    RecordRing ring_;
    bool stop_ = false;
    bool gone_ = false;  // the device left; nothing more to read
    std::thread thread_;
};

class BufferedDownload {
  public:
    using Send = std::function<zdev::Status(std::span<uint8_t>)>;
    // send moves one record to the device; abort ends a send in progress.
    BufferedDownload(Send send, std::function<void()> abort);
    ~BufferedDownload();
    BufferedDownload(const BufferedDownload&) = delete;
    BufferedDownload& operator=(const BufferedDownload&) = delete;

    // Queues data as records, or nothing when the ring lacks room for all of it.
    bool queue(std::span<const uint8_t> data);
    std::size_t records();
    void clear();

  private:
    void run();

    Send send_;
    std::function<void()> abort_;
    std::mutex mutex_;
    std::condition_variable changed_;
    RecordRing ring_;
    bool stop_ = false;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace zelvo::driver
