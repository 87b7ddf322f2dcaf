#include "record_ring.h"

#include <algorithm>

namespace zelvo::driver {

void RecordRing::push(std::span<const uint8_t> data) {
    const std::size_t n = std::min(data.size(), kRecordData);
    if (count_ == kCapacity) {
        head_ = (head_ + 1) % kCapacity;
        --count_;
    }
    std::span<uint8_t> s = slot(head_ + count_);
    s[0] = static_cast<uint8_t>(n);
    std::copy_n(data.begin(), n, s.begin() + 1);
    ++count_;
}

bool RecordRing::pushAll(std::span<const uint8_t> data) {
    const std::size_t records = (data.size() + kRecordData - 1) / kRecordData;
    if (records > kCapacity - count_) return false;
    for (std::size_t at = 0; at < data.size(); at += kRecordData)
        push(data.subspan(at, std::min(kRecordData, data.size() - at)));
    return true;
}

std::size_t RecordRing::take(std::span<uint8_t> dest) {
    std::size_t at = 0;
    while (at < dest.size() && count_ > 0) {
        std::span<uint8_t> s = slot(head_);
        const std::size_t n = std::min<std::size_t>(s[0], dest.size() - at);
        std::copy_n(s.begin() + 1, n, dest.begin() + static_cast<std::ptrdiff_t>(at));
        at += n;
        head_ = (head_ + 1) % kCapacity;
        --count_;
    }
    return at;
}

std::optional<std::vector<uint8_t>> RecordRing::pop() {
    if (count_ == 0) return std::nullopt;
    std::span<uint8_t> s = slot(head_);
    std::vector<uint8_t> out(s.begin() + 1, s.begin() + 1 + s[0]);
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return out;
}

}  // namespace zelvo::driver
