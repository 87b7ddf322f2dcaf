// The simulated instrument as a USB device: its descriptors, its four
// endpoints and the 64-byte packets it streams on bulk in.  Requests arrive
// unframed on bulk out 0x02 and every reply goes out in whole 64-byte
// packets; after the first answer of a block read the instrument sends the
// whole block as ceil(n/64) packets.  Free of I/O.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "reply_source.h"

namespace zelvo::sim {

using UsbClock = std::chrono::steady_clock;

struct UsbIdentity {
    uint16_t vendor = 0x1209;  // the test range of an open vendor-ID registry
    uint16_t product = 0x0001;
    uint16_t bulkPacketSize = 64;
};

inline constexpr uint8_t kInterruptIn = 0x81;
inline constexpr uint8_t kBulkIn = 0x82;
inline constexpr uint8_t kBulkOut = 0x02;
inline constexpr uint8_t kAuxOut = 0x01;
inline constexpr std::size_t kUsbPacket = 64;

class UsbPort {
  public:
    UsbPort(ReplySource& instrument, UsbIdentity identity)
        : instrument_(instrument), identity_(identity) {}

    const UsbIdentity& identity() const { return identity_; }
    std::vector<uint8_t> deviceDescriptor() const;
    std::vector<uint8_t> configDescriptor() const;

    // Takes what the PC sent on an OUT endpoint; replies queue on bulk in.
    void out(uint8_t endpoint, std::span<const uint8_t> bytes, UsbClock::time_point now);
    // Answers a control request; none when the device stalls it.
    std::optional<std::vector<uint8_t>> control(std::span<const uint8_t> setup,
                                                std::span<const uint8_t> data);
    // Queues one interrupt report of 8 bytes.
    void raiseInterrupt(std::span<const uint8_t> report);

    // The oldest packet of endpoint that is due by now, taken off its queue.
    std::optional<std::vector<uint8_t>> takePacket(uint8_t endpoint, UsbClock::time_point now);
    std::optional<UsbClock::time_point> nextDue(uint8_t endpoint) const;
    // Forgets queued packets (a reset, an unplug).
    void flush();

    void stall(uint8_t endpoint) { stalled_.insert(endpoint); }
    void clearHalt(uint8_t endpoint) { stalled_.erase(endpoint); }
    bool stalled(uint8_t endpoint) const { return stalled_.count(endpoint) != 0; }
    // Every reply becomes due this much later.
    void setSlowness(std::chrono::milliseconds d) { slowness_ = d; }

    // Packets sent on bulk in and transfers taken on bulk out so far.
    std::size_t packetsSent() const { return packetsSent_; }
    std::size_t transfersReceived() const { return transfersReceived_; }

  private:
    struct Packet {
        std::vector<uint8_t> bytes;
        UsbClock::time_point due;
    };
    void queueReply(std::span<const uint8_t> bytes, UsbClock::time_point due);
    std::vector<uint8_t> pullBlock(std::size_t length);

    ReplySource& instrument_;
    UsbIdentity identity_;
    std::deque<Packet> bulkIn_;
    std::deque<Packet> interruptIn_;
    std::set<uint8_t> stalled_;
    std::chrono::milliseconds slowness_{0};
    std::size_t packetsSent_ = 0;
    std::size_t transfersReceived_ = 0;
};

}  // namespace zelvo::sim
