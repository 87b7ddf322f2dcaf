#include "core/serial_slot.h"

#include <algorithm>
#include <thread>

#include "protocol/serial_frame.h"
#include "protocol/serial_line.h"
#include "zelvo/command_codes.h"

namespace zelvo::link {
namespace {

// Added to the line time of the bytes a short header announces: the five attempts
// that follow it must be able to carry them even at 300 baud.
constexpr std::chrono::milliseconds kShortReplyMargin{20};
// Pause after each reply of block data, giving the instrument time to refill.
constexpr std::chrono::milliseconds kBlockDataPause{1};

std::chrono::milliseconds waitFor(ReplyKind kind) {
    switch (kind) {
        case ReplyKind::Short:
            return SerialSlot::kShortReplyWait;
        case ReplyKind::FirstAnswer:
            return SerialSlot::kFirstAnswerWait;
        case ReplyKind::BlockData:
            break;
    }
    return SerialSlot::kBlockDataWait;
}

}  // namespace

std::array<SerialSlot, kSerialSlotCount>& serialSlots() {
    static std::array<SerialSlot, kSerialSlotCount> slots;
    return slots;
}

Outcome SerialSlot::send(std::span<const uint8_t> bytes) {
    if (!isOpen()) return Outcome::NotOpen;
    if (bytes.size() > 0xFFFF) return Outcome::Malformed;
    if (Outcome flushed = port_.discardInput(); flushed != Outcome::Ok) return flushed;
    return port_.write(frameSerial(bytes));
}

Received SerialSlot::receive(std::span<uint8_t> dest, ReplyKind kind) {
    if (!isOpen()) return {Outcome::NotOpen, 0};
    const auto wait = waitFor(kind);
    FrameAssembler reply(kSerialReplyMax);
    std::array<uint8_t, kSerialReplyMax> piece;
    int allowed = kReadAttempts;
    bool lineQuiet = false;
    for (int attempt = 0; attempt < allowed; ++attempt) {
        // A stalled reply may hold the read for minutes (512 waits of 500 ms), so a
        // cancel or abort is honoured once a whole wait passed without a character.
        // While characters flow the reply is finished, so none of it is left on the line.
        const bool stopAsked =
            abortRequested() || (kind == ReplyKind::BlockData && blockProgress().cancelRequested());
        if (lineQuiet && stopAsked) return {Outcome::Cancelled, 0};
        const bool headerKnown = reply.announced().has_value();
        auto attemptWait = wait;
        if (headerKnown && *reply.announced() <= kSerialShortReplyMax)
            attemptWait = std::max(wait, std::chrono::ceil<std::chrono::milliseconds>(
                                             lineTime(reply.wanted(), port_.baudRate())) +
                                             kShortReplyMargin);
        const Received r = port_.read(std::span(piece).first(reply.wanted()), attemptWait);
        if (r.outcome == Outcome::IoError || r.outcome == Outcome::NotOpen) return {r.outcome, 0};
        reply.feed(std::span(piece).first(r.count));
        lineQuiet = r.count == 0;

        if (reply.state() == FrameAssembler::State::TooLong) return {Outcome::Malformed, 0};
        if (!headerKnown && reply.announced() && *reply.announced() <= kSerialShortReplyMax)
            allowed = std::min(allowed, attempt + 1 + kAttemptsAfterShortHeader);
        if (reply.state() == FrameAssembler::State::Complete) {
            const auto payload = reply.payload();
            const std::size_t kept = std::min(payload.size(), dest.size());
            std::copy_n(payload.begin(), kept, dest.begin());
            if (kind == ReplyKind::BlockData) std::this_thread::sleep_for(kBlockDataPause);
            return {Outcome::Ok, kept};
        }
    }
    return {Outcome::TimedOut, 0};
}

}  // namespace zelvo::link
