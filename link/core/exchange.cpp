#include "core/exchange.h"

#include <algorithm>
#include <array>

#include "protocol/frame.h"

namespace zelvo::link {
namespace {

// Replies to sets and gets are read into one USB packet's worth of scratch.
constexpr std::size_t kShortReplyScratch = 64;
// Room for the longest first answer any link delivers.
constexpr std::size_t kFirstAnswerScratch = 600;

// A failed exchange may leave reply data behind (a block read stopped
// halfway, a reply the instrument sends late); it goes now, so the next
// exchange does not take it for its own reply.
Outcome failed(Transport& t, Outcome o) {
    (void)t.discardSurplus(true);
    return o;
}

// Takes one reply and, when the exchange is traced, keeps a copy of it.
Received take(Transport& t, std::span<uint8_t> dest, ReplyKind kind, ReplyTrace* trace) {
    const Received r = t.receive(dest, kind);
    if (trace && r.outcome == Outcome::Ok) {
        const auto kept = dest.first(r.count);
        trace->bytes.insert(trace->bytes.end(), kept.begin(), kept.end());
        trace->packetSizes.push_back(static_cast<uint32_t>(r.count));
    }
    return r;
}

GetResult requestValue(Transport& t, const RequestFrame& request, ReplyTrace* trace) {
    ExchangeScope scope(t);
    if (scope.outcome() != Outcome::Ok) return {scope.outcome(), 0};
    if (Outcome sent = t.send(request); sent != Outcome::Ok) return {sent, 0};
    std::array<uint8_t, kShortReplyScratch> reply{};
    const Received r = take(t, reply, ReplyKind::Short, trace);
    if (r.outcome != Outcome::Ok) return {failed(t, r.outcome), 0};
    const auto value = replyValue(std::span(reply).first(r.count));
    if (!value) return {failed(t, Outcome::Malformed), 0};
    return {Outcome::Ok, *value};
}

Outcome acknowledged(Transport& t, const RequestFrame& request, ReplyTrace* trace) {
    const GetResult r = requestValue(t, request, trace);
    if (r.outcome != Outcome::Ok) return r.outcome;
    return r.value == kAcknowledge ? Outcome::Ok : Outcome::Refused;
}

}  // namespace

Outcome sendSet(Transport& t, Command command, uint32_t value, ReplyTrace* trace) {
    return acknowledged(t, encodeSetRequest(command, value), trace);
}

GetResult sendGet(Transport& t, Command command, uint32_t value, ReplyTrace* trace) {
    return requestValue(t, encodeGetRequest(command, value), trace);
}

Outcome readBlock(Transport& t, Block block, std::span<uint8_t> dest, ReplyTrace* trace) {
    ExchangeScope scope(t);
    if (scope.outcome() != Outcome::Ok) return scope.outcome();
    BlockProgress::Run progress(t.blockProgress(), dest.size());
    const auto length = static_cast<uint32_t>(dest.size());
    if (Outcome sent = t.send(encodeBlockReadRequest(block, length)); sent != Outcome::Ok)
        return sent;

    // The first answer is not interpreted; at most as many bytes as the block
    // code's value land at the start of the destination, to be overwritten by data.
    std::array<uint8_t, kFirstAnswerScratch> first{};
    const Received answer = take(t, first, ReplyKind::FirstAnswer, trace);
    if (answer.outcome != Outcome::Ok) return failed(t, answer.outcome);
    const std::size_t kept =
        std::min({answer.count, static_cast<std::size_t>(code(block)), dest.size()});
    std::copy_n(first.begin(), kept, dest.begin());

    std::size_t at = 0;
    while (at < dest.size()) {
        // A slow line may take minutes for a block; the caller can stop between replies.
        if (t.blockProgress().cancelRequested()) return failed(t, Outcome::Cancelled);
        if (t.repliesNeedContinueByte()) {
            const uint8_t continueByte = dest[at];
            if (Outcome sent = t.send(std::span(&continueByte, 1)); sent != Outcome::Ok)
                return sent;
        }
        const std::size_t want = std::min(t.blockReplyUnit(), dest.size() - at);
        const Received r = take(t, dest.subspan(at, want), ReplyKind::BlockData, trace);
        if (r.outcome != Outcome::Ok) return failed(t, r.outcome);
        // An empty reply would leave the read where it is for ever.
        if (r.count == 0) return failed(t, Outcome::Malformed);
        at += r.count;
        progress.advance(at);
    }
    // Data beyond the block's length means the instrument and the read
    // disagree on where the block ends: it cannot be taken as whole.  The
    // instrument may still be sending; the rest goes with a failure's wait.
    if (t.discardSurplus(false)) return failed(t, Outcome::Malformed);
    return Outcome::Ok;
}

Outcome writeBlock(Transport& t, Block block, std::span<const uint8_t> source, ReplyTrace* trace) {
    const auto length = static_cast<uint32_t>(source.size());
    if (Outcome a = acknowledged(t, encodeBlockWriteRequest(block, length), trace);
        a != Outcome::Ok)
        return a;
    ExchangeScope scope(t);
    if (scope.outcome() != Outcome::Ok) return scope.outcome();
    int failures = 0;
    for (std::size_t at = 0; at < source.size();) {
        const std::size_t n = std::min(t.writeChunkSize(), source.size() - at);
        const Outcome sent = t.send(source.subspan(at, n));
        if (sent == Outcome::Ok) {
            at += n;
        } else if (++failures > kChunkFailuresAllowed) {
            return sent;
        }
    }
    return Outcome::Ok;
}

}  // namespace zelvo::link
