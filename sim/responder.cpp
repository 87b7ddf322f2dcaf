#include "responder.h"

#include <algorithm>

#include "protocol/byte_order.h"
#include "zelvo/command_codes.h"

namespace zelvo::sim {
namespace {

std::vector<uint8_t> valueBytes(uint32_t value) {
    std::vector<uint8_t> b(4);
    storeLe32(b, 0, value);
    return b;
}

constexpr std::size_t kRequestLogLength = 256;

}  // namespace

Reply Responder::reply(std::vector<uint8_t> bytes, bool shortReply) {
    Reply r{std::move(bytes), faults_.replyDelay, faults_.foreignSource};
    if (shortReply && faults_.truncatedReplies) r.bytes.resize(2);
    if (shortReply && faults_.garbageReplies) r.bytes = {0x5A, 0xA5, 0x3C, 0xC3, 0x99};
    if (faults_.lateReplies > 0) {
        --faults_.lateReplies;
        r.delay += faults_.lateDelay;
    }
    return r;
}

std::vector<Reply> Responder::handle(std::span<const uint8_t> bytes) {
    if (write_) {
        onWriteData(bytes);
        return {};
    }
    if (bytes.size() == 1 && read_) return faults_.silent ? std::vector<Reply>{} : onContinue();
    const auto request = decodeRequest(bytes);
    if (!request) return {};
    requests_.push_back(*request);
    if (requests_.size() > kRequestLogLength) requests_.pop_front();
    read_.reset();
    std::vector<Reply> replies = onRequest(*request);
    if (faults_.silent) replies.clear();
    return replies;
}

std::vector<Reply> Responder::onRequest(const DecodedRequest& r) {
    const uint32_t refused = 0;
    switch (r.opcode) {
        case Opcode::Set: {
            const bool ok =
                instrument_.applySet(r.first, r.second) && !faults_.refuseAcknowledgements;
            return {reply(valueBytes(ok ? kAcknowledge : refused), true)};
        }
        case Opcode::Get:
            return {reply(valueBytes(instrument_.answerGet(r.first)), true)};
        case Opcode::BlockRead: {
            auto data = instrument_.readBlock(r.second, r.first);
            if (!data) return {};
            read_ = PendingRead{std::move(*data), 0};
            continueBytes_ = 0;
            // A short first answer; the PC does not interpret it.
            return {reply(valueBytes(kAcknowledge), false)};
        }
        case Opcode::BlockWrite: {
            const bool ok =
                instrument_.acceptsWrite(r.second, r.first) && !faults_.refuseAcknowledgements;
            if (ok && r.first > 0) write_ = PendingWrite{r.second, r.first, {}};
            if (ok && r.first == 0) instrument_.completeWrite(r.second, {});
            return {reply(valueBytes(ok ? kAcknowledge : refused), true)};
        }
    }
    return {};
}

std::vector<Reply> Responder::onContinue() {
    ++continueBytes_;
    PendingRead& p = *read_;
    if (faults_.emptyBlockReplies) return {reply({}, false)};
    if (faults_.oversizeReplies)
        return {reply(std::vector<uint8_t>(kLanDatagramMax + 88, 0xEE), false)};
    const std::size_t n = std::min(kBlockReplyMax, p.data.size() - p.at);
    std::vector<uint8_t> chunk(p.data.begin() + static_cast<std::ptrdiff_t>(p.at),
                               p.data.begin() + static_cast<std::ptrdiff_t>(p.at + n));
    if (faults_.overlongBlockReplies) chunk.resize(kBlockReplyMax, 0xEE);
    p.at += n;
    if (p.at >= p.data.size()) read_.reset();
    return {reply(std::move(chunk), false)};
}

void Responder::onWriteData(std::span<const uint8_t> bytes) {
    PendingWrite& w = *write_;
    blockWriteBytes_ += bytes.size();
    const std::size_t n = std::min<std::size_t>(bytes.size(), w.length - w.data.size());
    w.data.insert(w.data.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    if (w.data.size() == w.length) {
        instrument_.completeWrite(w.block, w.data);
        write_.reset();
    }
}

}  // namespace zelvo::sim
