// The USB link to the instrument at one index of the access library's
// device table.  Every exchange opens the device and closes it again;
// requests and data travel unframed, replies arrive as 64-byte packets.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

#include "core/transport.h"

namespace zelvo::link {

class UsbTransport final : public Transport {
  public:
    explicit UsbTransport(int32_t index) : index_(index) {}

    // How long the device's read and write wait for the instrument.  The
    // driver's default is to wait for ever, which would hang the caller (and
    // with it every disconnect) on an instrument that stopped answering.
    static constexpr std::chrono::milliseconds kTransferBudget{1000};
    static constexpr std::size_t kPacketSize = 64;
    static constexpr std::size_t kWriteChunk = 4096;
    // Surplus reply packets follow the last packet of a reply at once, so after
    // a good exchange they are waited for twice as long as its slowest packet
    // took, within these bounds: a loaded machine slows them all alike.  After
    // a failure, when the timing says nothing, they get the longest wait.
    static constexpr std::chrono::milliseconds kSurplusWaitMin{2};
    static constexpr std::chrono::milliseconds kSurplusWaitMax{20};
    // Most time spent throwing surplus away, so an instrument that streams
    // without end cannot hold the exchange.
    static constexpr std::chrono::milliseconds kSurplusLimit{250};

    Outcome beginExchange() override;
    void endExchange() override;
    Outcome send(std::span<const uint8_t> bytes) override;
    // Takes one packet from the device and stores at most dest.size() bytes of it.
    Received receive(std::span<uint8_t> dest, ReplyKind kind) override;
    bool repliesNeedContinueByte() const override { return false; }
    std::size_t blockReplyUnit() const override { return kPacketSize; }
    std::size_t writeChunkSize() const override { return kWriteChunk; }
    bool discardSurplus(bool afterFailure) override;
    void abortWait() override;

  private:
    std::chrono::milliseconds surplusWait() const;
    bool discardFor(std::chrono::milliseconds wait);

    int32_t index_;
    // How long the slowest packet of the exchange took to arrive, in microseconds.
    std::atomic<int64_t> slowestPacketMicros_{0};
    // A read gave up waiting: its reply may still come, before the next exchange.
    std::atomic<bool> lateReplyPossible_{false};
};

inline constexpr std::size_t kUsbDeviceCount = 16;

// One transport per device index of the access library.
std::array<UsbTransport, kUsbDeviceCount>& usbTransports();

}  // namespace zelvo::link
