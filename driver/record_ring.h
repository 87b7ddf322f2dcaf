// The ring of 65-byte records (one length byte, up to 64 data bytes) that
// buffered upload and download keep between the bus and the caller.
// Not locked: its owner guards it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelvo::driver {

class RecordRing {
  public:
    static constexpr std::size_t kRecordData = 64;
    static constexpr std::size_t kRecordSize = kRecordData + 1;
    static constexpr std::size_t kCapacity = 1976;

    RecordRing() : storage_(kCapacity * kRecordSize) {}

    std::size_t count() const { return count_; }
    void clear() { head_ = count_ = 0; }

    // Appends one record of at most 64 bytes; when full the oldest gives way.
    void push(std::span<const uint8_t> data);
    // Splits data into records of 64 bytes (the last holding the rest) and
    // queues them all, or none when they do not all fit.
    bool pushAll(std::span<const uint8_t> data);
    // Fills dest from whole records, oldest first: from each its length or
    // the room left, whichever is smaller (the rest of a record that does not
    // fit is dropped).  Stops when dest is full or the ring is empty.
    std::size_t take(std::span<uint8_t> dest);
    // Removes the oldest record.
    std::optional<std::vector<uint8_t>> pop();

  private:
    std::span<uint8_t> slot(std::size_t k) {
        return std::span(storage_).subspan((k % kCapacity) * kRecordSize, kRecordSize);
    }

    std::vector<uint8_t> storage_;
    std::size_t head_ = 0;  // oldest record
    std::size_t count_ = 0;
};

}  // namespace zelvo::driver
