#include "driver_record.h"

#include <algorithm>
#include <array>

namespace zelvo::zdev {
namespace {

void putLe32(std::span<uint8_t> b, std::size_t at, uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

uint32_t recordLength(std::span<const uint8_t> record) {
    uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(record[kLengthOffset + i]) << (8 * i);
    return v;
}

std::vector<uint8_t> makeRecord(DriverCommand command, uint32_t length,
                                std::span<const uint8_t> payload, std::size_t room) {
    std::vector<uint8_t> record(kRecordHeaderSize + std::max(room, payload.size()));
    putLe32(record, kCommandOffset, static_cast<uint32_t>(command));
    putLe32(record, kLengthOffset, length);
    std::copy(payload.begin(), payload.end(), record.begin() + kRecordHeaderSize);
    return record;
}

Completed sendRecord(driver::FileHandle handle, std::span<uint8_t> record, std::size_t inSize) {
    uint32_t returned = 0;
    // A time-out completes the record too, but nothing was moved: it is a failure.
    const Status s = driver::Driver::instance().deviceControl(
        handle, kControlCode, record.first(std::min(inSize, record.size())), record, returned);
    if (s != Status::Success || returned < kRecordHeaderSize) return {false, 0};
    return {true, std::min<uint32_t>(recordLength(record),
                                     static_cast<uint32_t>(record.size() - kRecordHeaderSize))};
}

bool sendWord(driver::FileHandle handle, DriverCommand command, uint32_t word) {
    std::array<uint8_t, 4> payload{};
    putLe32(payload, 0, word);
    std::vector<uint8_t> record = makeRecord(command, 4, payload);
    return sendRecord(handle, record, record.size()).ok;
}

}  // namespace zelvo::zdev
