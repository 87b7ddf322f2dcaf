#include "usb_port.h"

#include <algorithm>

#include "protocol/frame.h"

namespace zelvo::sim {
namespace {

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void endpoint(std::vector<uint8_t>& out, uint8_t address, uint8_t attributes, uint16_t size,
              uint8_t interval) {
    out.insert(out.end(), {7, 0x05, address, attributes});
    put16(out, size);
    out.push_back(interval);
}

// The instrument's own status report to vendor request 0x52.
constexpr uint8_t kVendorStatus = 0x52;
constexpr std::array<uint8_t, 8> kStatusReport{0x01, 0x06, 0, 0, 0, 0, 0, 0};

}  // namespace

std::vector<uint8_t> UsbPort::deviceDescriptor() const {
    std::vector<uint8_t> d{18, 0x01};
    put16(d, 0x0200);
    d.insert(d.end(), {0x00, 0x00, 0x00, static_cast<uint8_t>(kUsbPacket)});
    put16(d, identity_.vendor);
    put16(d, identity_.product);
    put16(d, 0x0100);
    d.insert(d.end(), {0, 0, 0, 1});
    return d;
}

std::vector<uint8_t> UsbPort::configDescriptor() const {
    std::vector<uint8_t> c{9, 0x02, 0, 0, 1, 1, 0, 0x80, 50};
    // One vendor-class interface with the instrument's four endpoints.
    c.insert(c.end(), {9, 0x04, 0, 0, 4, 0xFF, 0, 0, 0});
    endpoint(c, kInterruptIn, 0x03, 8, 10);
    endpoint(c, kBulkIn, 0x02, identity_.bulkPacketSize, 0);
    endpoint(c, kBulkOut, 0x02, identity_.bulkPacketSize, 0);
    endpoint(c, kAuxOut, 0x02, identity_.bulkPacketSize, 0);
    c[2] = static_cast<uint8_t>(c.size());
    c[3] = static_cast<uint8_t>(c.size() >> 8);
    return c;
}

void UsbPort::queueReply(std::span<const uint8_t> bytes, UsbClock::time_point due) {
    if (bytes.empty()) {
        bulkIn_.push_back({{}, due});
        return;
    }
    for (std::size_t at = 0; at < bytes.size(); at += kUsbPacket) {
        const std::size_t n = std::min(kUsbPacket, bytes.size() - at);
        std::vector<uint8_t> p(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                               bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
        // Every packet goes out whole; the PC keeps what it asked for.
        p.resize(kUsbPacket, 0);
        bulkIn_.push_back({std::move(p), due});
    }
}

std::vector<uint8_t> UsbPort::pullBlock(std::size_t length) {
    // The responder hands a block out one reply per continue byte; on USB the
    // instrument streams it all at once.
    std::vector<uint8_t> block;
    const uint8_t continueByte = 0;
    while (block.size() < length) {
        const auto replies = instrument_.handle(std::span(&continueByte, 1));
        if (replies.empty() || replies.front().bytes.empty()) break;
        block.insert(block.end(), replies.front().bytes.begin(), replies.front().bytes.end());
    }
    return block;
}

void UsbPort::out(uint8_t ep, std::span<const uint8_t> bytes, UsbClock::time_point now) {
    ++transfersReceived_;
    if (ep == kAuxOut) return;  // the auxiliary pipe's bytes carry nothing the instrument reads
    const auto request = decodeRequest(bytes);
    const auto replies = instrument_.handle(bytes);
    for (const Reply& r : replies) queueReply(r.bytes, now + r.delay + slowness_);
    if (request && request->opcode == Opcode::BlockRead && !replies.empty()) {
        const auto due = now + replies.front().delay + slowness_;
        const std::vector<uint8_t> block = pullBlock(request->first);
        queueReply(block, due);
    }
}

std::optional<std::vector<uint8_t>> UsbPort::control(std::span<const uint8_t> setup,
                                                     std::span<const uint8_t>) {
    const uint8_t type = setup[0];
    const uint8_t request = setup[1];
    const uint16_t value = static_cast<uint16_t>(setup[2] | (setup[3] << 8));
    const std::size_t wanted = static_cast<std::size_t>(setup[6] | (setup[7] << 8));
    std::vector<uint8_t> reply;
    constexpr uint8_t kGetStatus = 0, kGetDescriptor = 6;
    if ((type & 0x60) == 0x40) {
        if (request == kVendorStatus) reply.assign(kStatusReport.begin(), kStatusReport.end());
    } else if (request == kGetDescriptor) {
        if ((value >> 8) == 1)
            reply = deviceDescriptor();
        else if ((value >> 8) == 2)
            reply = configDescriptor();
        else
            return std::nullopt;
    } else if (request == kGetStatus) {
        reply = {0, 0};
    }
    if ((type & 0x80) == 0) return std::vector<uint8_t>{};
    reply.resize(std::min(reply.size(), wanted));
    return reply;
}

void UsbPort::raiseInterrupt(std::span<const uint8_t> report) {
    interruptIn_.push_back({{report.begin(), report.end()}, UsbClock::now()});
}

std::optional<std::vector<uint8_t>> UsbPort::takePacket(uint8_t ep, UsbClock::time_point now) {
    auto& queue = ep == kInterruptIn ? interruptIn_ : bulkIn_;
    if (queue.empty() || queue.front().due > now) return std::nullopt;
    std::vector<uint8_t> p = std::move(queue.front().bytes);
    queue.pop_front();
    if (ep == kBulkIn) ++packetsSent_;
    return p;
}

std::optional<UsbClock::time_point> UsbPort::nextDue(uint8_t ep) const {
    const auto& queue = ep == kInterruptIn ? interruptIn_ : bulkIn_;
    if (queue.empty()) return std::nullopt;
    return queue.front().due;
}

void UsbPort::flush() {
    bulkIn_.clear();
    interruptIn_.clear();
}

}  // namespace zelvo::sim
