#include "protocol/serial_frame.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace zelvo {

std::vector<uint8_t> frameSerial(std::span<const uint8_t> payload) {
    std::vector<uint8_t> frame(kSerialLengthPrefix + payload.size());
    storeLe16(frame, 0, static_cast<uint16_t>(payload.size()));
    std::copy(payload.begin(), payload.end(), frame.begin() + kSerialLengthPrefix);
    return frame;
}

std::size_t FrameAssembler::feed(std::span<const uint8_t> bytes) {
    std::size_t taken = 0;
    while (taken < bytes.size() && state_ == State::NeedHeader) {
        header_[headerFilled_++] = bytes[taken++];
        if (headerFilled_ < kSerialLengthPrefix) continue;
        length_ = loadLe16(header_, 0);
        if (length_ > maxPayload_) {
            state_ = State::TooLong;
        } else {
            payload_.reserve(length_);
            state_ = length_ == 0 ? State::Complete : State::NeedPayload;
        }
    }
    if (state_ == State::NeedPayload) {
        const std::size_t n = std::min(bytes.size() - taken, length_ - payload_.size());
        payload_.insert(payload_.end(), bytes.begin() + static_cast<std::ptrdiff_t>(taken),
                        bytes.begin() + static_cast<std::ptrdiff_t>(taken + n));
        taken += n;
        if (payload_.size() == length_) state_ = State::Complete;
    }
    return taken;
}

std::size_t FrameAssembler::wanted() const {
    switch (state_) {
        case State::NeedHeader:
            return kSerialLengthPrefix - headerFilled_;
        case State::NeedPayload:
            return length_ - payload_.size();
        case State::Complete:
        case State::TooLong:
            break;
    }
    return 0;
}

std::optional<std::size_t> FrameAssembler::announced() const {
    if (state_ == State::NeedHeader) return std::nullopt;
    return length_;
}

void FrameAssembler::reset() {
    state_ = State::NeedHeader;
    headerFilled_ = 0;
    length_ = 0;
    payload_.clear();
}

}  // namespace zelvo
