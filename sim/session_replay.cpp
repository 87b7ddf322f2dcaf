#include "session_replay.h"

#include <algorithm>

#include "protocol/frame.h"
#include "zelvo/command_codes.h"

namespace zelvo::sim {
namespace {

std::vector<std::vector<uint8_t>> packetsOf(const session::Exchange& e) {
    std::vector<std::vector<uint8_t>> packets;
    std::size_t at = 0;
    for (uint32_t size : e.packetSizes) {
        const auto begin = e.reply.begin() + static_cast<std::ptrdiff_t>(at);
        packets.emplace_back(begin, begin + size);
        at += size;
    }
    return packets;
}

// The link check that opens a serial or LAN link, and its acknowledgement.
const std::array<uint32_t, 3> kLinkCheckRequest = {static_cast<uint32_t>(Opcode::Set),
                                                   code(Command::LinkCheck), 1};
const std::vector<uint8_t> kAcknowledgeBytes = {kAcknowledge, 0, 0, 0};

}  // namespace

SessionReplay::SessionReplay(std::vector<session::Exchange> exchanges, ReplayOptions options)
    : exchanges_(std::move(exchanges)), options_(options) {
    for (std::size_t i = 0; i < exchanges_.size(); ++i)
        positions_[exchanges_[i].request].push_back(i);
}

ReplayCounts SessionReplay::counts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

std::vector<Reply> SessionReplay::handle(std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    if (writeDataLeft_ > 0) {
        writeDataLeft_ -= std::min(writeDataLeft_, bytes.size());
        return {};
    }
    if (bytes.size() == 1 && !readData_.empty()) {
        Reply r{std::move(readData_.front()), std::chrono::milliseconds{0}, false};
        readData_.pop_front();
        return {std::move(r)};
    }
    const auto request = decodeRequest(bytes);
    if (!request) return {};
    readData_.clear();
    const RequestKey key{static_cast<uint32_t>(request->opcode), request->first, request->second};
    const Match m = find(key);
    if (!m.exchange && key == kLinkCheckRequest) {
        // A USB recording has no link check, which only serial and LAN links
        // make as they open: the replay acknowledges it, as the instrument would.
        ++counts_.fellBack;
        return {Reply{kAcknowledgeBytes, std::chrono::milliseconds{0}, false}};
    }
    if (!m.exchange) {
        ++counts_.unanswered;
        return {};
    }
    ++(m.next ? counts_.matched : counts_.fellBack);
    return serve(m);
}

SessionReplay::Match SessionReplay::find(const RequestKey& request) {
    if (options_.loop && next_ == exchanges_.size()) next_ = 0;
    if (next_ < exchanges_.size() && exchanges_[next_].request == request)
        return {&exchanges_[next_++], true};
    const auto found = positions_.find(request);
    if (found == positions_.end()) return {nullptr, false};
    const std::vector<std::size_t>& at = found->second;
    // The last one recorded before this point, else the first after it.
    const auto after = std::lower_bound(at.begin(), at.end(), next_);
    return {&exchanges_[after == at.begin() ? *after : *(after - 1)], false};
}

std::vector<Reply> SessionReplay::serve(const Match& m) {
    const session::Exchange& e = *m.exchange;
    const auto now = Clock::now();
    std::chrono::milliseconds delay{0};
    // Only the recording's own order has pauses worth keeping.
    if (options_.realtime && m.next && previousRequest_ != Clock::time_point{}) {
        const auto due = previousRequest_ + std::chrono::microseconds(e.gapMicros);
        if (due > now) delay = std::chrono::ceil<std::chrono::milliseconds>(due - now);
    }
    previousRequest_ = now + delay;

    auto packets = packetsOf(e);
    std::vector<Reply> replies;
    if (e.kind() == session::ExchangeKind::Read) {
        if (packets.empty()) return {};
        replies.push_back({std::move(packets.front()), delay, false});
        readData_.assign(std::make_move_iterator(packets.begin() + 1),
                         std::make_move_iterator(packets.end()));
        return replies;
    }
    // An acknowledged announcement is followed by the block's data, which gets no reply.
    if (e.kind() == session::ExchangeKind::Write && !packets.empty() &&
        replyValue(packets.front()) == kAcknowledge)
        writeDataLeft_ = e.request[1];
    for (auto& p : packets) replies.push_back({std::move(p), delay, false});
    return replies;
}

}  // namespace zelvo::sim
