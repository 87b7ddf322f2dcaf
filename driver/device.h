// The driver's state for one started instrument: its pipes by endpoint
// address with their time-outs, the watchdog that ends transfers past their
// deadline, the count of open handles and the exclusive flag, the buffered
// upload and download rings, and the execution of command records.
#pragma once

#include <array>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "buffered_transfer.h"
#include "pipe.h"
#include "zelvo/driver/bus.h"
#include "zelvo/zdev_record.h"

namespace zelvo::driver {

class Device {
  public:
    // None when the device lacks bulk endpoints 0x82 and 0x02 or either
    // reports a packet size of 8 bytes or less: such a device does not start.
    static std::shared_ptr<Device> start(Bus& bus, const BusDeviceInfo& info);
    Device(Bus& bus, BusDeviceInfo info);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const BusDeviceInfo& info() const { return info_; }

    // Counts a handle; the first one opens the device on the bus.
    zdev::Status open();
    // The last handle ends what is still in flight and releases the device.
    void close();
    // The device left the bus: everything in flight ends, nothing new starts.
    void remove();

    // Executes one command record (in) and writes the completed record (out);
    // returned is its size.  in and out may be the same memory.
    zdev::Status control(std::span<const uint8_t> in, std::span<uint8_t> out, uint32_t& returned);

    static constexpr int32_t kDefaultAuxTimeoutMs = 2000;

  private:
    struct Result {
        zdev::Status status;
        std::size_t length;  // data bytes in the completed record
    };
    Result execute(uint32_t command, uint32_t length, std::span<const uint8_t> payload,
                   std::span<uint8_t> data);
    Result controlTransfer(std::span<const uint8_t> setup, std::span<const uint8_t> outData,
                           std::span<uint8_t> inData);
    Result vendorOrStandard(std::span<const uint8_t> payload, std::span<uint8_t> data);
    Result pipeTransfer(zdev::PipeNumber n, std::span<uint8_t> buffer);
    Result writeAux(std::span<const uint8_t> payload);
    Result resetPipe(uint32_t number);
    Result setTimeouts(uint32_t length, std::span<const uint8_t> payload);
    Result buffered(zdev::DriverCommand which, std::span<const uint8_t> payload,
                    std::span<uint8_t> data);

    Pipe* pipe(uint32_t number);
    std::shared_ptr<BusDevice> active();
    void abortAll();
    void abortAllDeviceGone();
    void wakeWatchdog();
    void watch();
    void stopThreads();

    Bus& bus_;
    const BusDeviceInfo info_;
    // Indexed by pipe number - 5: interrupt in, bulk in, bulk out, auxiliary out.
    std::array<std::unique_ptr<Pipe>, 4> pipes_;
    Pipe control_{0, TransferType::Control};

    std::mutex mutex_;
    std::shared_ptr<BusDevice> active_;  // while a handle is open
    int openCount_ = 0;
    bool exclusive_ = false;
    bool removed_ = false;
    std::unique_ptr<BufferedUpload> upload_;
    std::unique_ptr<BufferedDownload> download_;

    std::mutex watchMutex_;
    std::condition_variable watchWake_;
    bool woken_ = false;
    bool stopWatch_ = false;
    std::thread watchdog_;
};

}  // namespace zelvo::driver
