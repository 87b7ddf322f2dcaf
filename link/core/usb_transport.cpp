#include "core/usb_transport.h"

#include <algorithm>
#include <array>

#include "zelvo/ZelvoDev.h"

namespace zelvo::link {

std::array<UsbTransport, kUsbDeviceCount>& usbTransports() {
    static std::array<UsbTransport, kUsbDeviceCount> transports{
        UsbTransport(0),  UsbTransport(1),  UsbTransport(2),  UsbTransport(3),
        UsbTransport(4),  UsbTransport(5),  UsbTransport(6),  UsbTransport(7),
        UsbTransport(8),  UsbTransport(9),  UsbTransport(10), UsbTransport(11),
        UsbTransport(12), UsbTransport(13), UsbTransport(14), UsbTransport(15)};
    return transports;
}

namespace {

uint32_t milliseconds(std::chrono::milliseconds d) { return static_cast<uint32_t>(d.count()); }

}  // namespace

Outcome UsbTransport::beginExchange() {
    slowestPacketMicros_.store(0);
    if (ZdevOpenDevice(index_) == -1) return Outcome::NotOpen;
    // A reply that arrived after its read gave up answers nothing any more;
    // it must not answer this exchange.
    if (lateReplyPossible_.exchange(false)) (void)discardFor(kSurplusWaitMax);
    const uint32_t ms = milliseconds(kTransferBudget);
    if (ZdevSetTimeout(index_, ms, ms) == 0) {
        ZdevCloseDevice(index_);
        return Outcome::IoError;
    }
    return Outcome::Ok;
}

void UsbTransport::endExchange() { ZdevCloseDevice(index_); }

Outcome UsbTransport::send(std::span<const uint8_t> bytes) {
    auto length = static_cast<uint32_t>(bytes.size());
    if (ZdevWriteData(index_, bytes.data(), &length) == 0) return Outcome::IoError;
    // A write that moved only part of the bytes has not sent them.
    return length == bytes.size() ? Outcome::Ok : Outcome::IoError;
}

Received UsbTransport::receive(std::span<uint8_t> dest, ReplyKind) {
    // An abort that came between two transfers still ends the exchange.
    if (abortRequested()) return {Outcome::Cancelled, 0};
    // One packet per receive: a longer read would run on into the packets
    // that follow, which belong to the next step of the exchange.
    auto length = static_cast<uint32_t>(std::min(dest.size(), kPacketSize));
    const auto start = std::chrono::steady_clock::now();
    if (ZdevReadData(index_, dest.data(), &length) == 0) {
        lateReplyPossible_.store(true);
        return {Outcome::IoError, 0};
    }
    const int64_t took = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
    slowestPacketMicros_.store(std::max(slowestPacketMicros_.load(), took));
    return {Outcome::Ok, length};
}

std::chrono::milliseconds UsbTransport::surplusWait() const {
    const auto twice = std::chrono::microseconds(2 * slowestPacketMicros_.load());
    return std::clamp(std::chrono::ceil<std::chrono::milliseconds>(twice), kSurplusWaitMin,
                      kSurplusWaitMax);
}

bool UsbTransport::discardSurplus(bool afterFailure) {
    return discardFor(afterFailure ? kSurplusWaitMax : surplusWait());
}

bool UsbTransport::discardFor(std::chrono::milliseconds wait) {
    const uint32_t budget = milliseconds(kTransferBudget);
    if (ZdevSetTimeout(index_, budget, milliseconds(wait)) == 0) return false;
    bool found = false;
    std::array<uint8_t, kPacketSize> scratch{};
    const auto until = std::chrono::steady_clock::now() + kSurplusLimit;
    for (;;) {
        auto length = static_cast<uint32_t>(scratch.size());
        if (ZdevReadData(index_, scratch.data(), &length) == 0) break;
        found = true;
        if (std::chrono::steady_clock::now() >= until) break;
    }
    // The short wait stays: the exchange ends or starts next, and sets its own.
    return found;
}

void UsbTransport::abortWait() {
    Transport::abortWait();
    ZdevAbortRead(index_);
    ZdevAbortWrite(index_);
}

}  // namespace zelvo::link
