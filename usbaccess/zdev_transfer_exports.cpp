// Exports that move data: bulk read and write, auxiliary write, interrupt read.
#include <algorithm>
#include <cstring>

#include "device_table.h"
#include "driver_record.h"
#include "zelvo/ZelvoDev.h"

using namespace zelvo::zdev;

namespace {

// The driver always fetches at least one whole packet.
constexpr uint32_t kSmallestRead = kBulkPacketSize;
constexpr uint32_t kSmallestInterruptRead = 8;
// Most any one call moves.
constexpr uint32_t kLargestTransfer = kMaxTransferSize;
// Most either half of a write-then-read moves.
constexpr uint32_t kWriteReadLimit = kBulkPacketSize;

int32_t readInto(int32_t index, DriverCommand command, uint32_t smallest, void* buffer,
                 uint32_t* ioLength, uint32_t limit) {
    if (ioLength == nullptr) return 0;
    const uint32_t size = std::min(*ioLength, limit);
    *ioLength = 0;
    if (buffer == nullptr && size > 0) return 0;
    const uint32_t asked = std::max(size, smallest);
    std::vector<uint8_t> record = makeRecord(command, asked, {}, asked);
    const Completed c =
        sendRecord(DeviceTable::instance().resolve(index), record, kRecordHeaderSize);
    if (!c.ok) return 0;
    const uint32_t kept = std::min(c.length, size);
    if (kept > 0) std::memcpy(buffer, record.data() + kRecordHeaderSize, kept);
    *ioLength = kept;
    return 1;
}

int32_t writeFrom(int32_t index, DriverCommand command, const void* buffer, uint32_t* ioLength,
                  uint32_t limit) {
    if (ioLength == nullptr) return 0;
    const uint32_t size = std::min(*ioLength, limit);
    *ioLength = 0;
    if (buffer == nullptr && size > 0) return 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    std::vector<uint8_t> record = makeRecord(command, size, std::span<const uint8_t>(bytes, size));
    const Completed c = sendRecord(DeviceTable::instance().resolve(index), record, record.size());
    if (!c.ok) return 0;
    *ioLength = c.length;
    return 1;
}

}  // namespace

extern "C" {

ZDEV_API int32_t ZDEV_CALL ZdevReadData(int32_t index, void* buffer, uint32_t* ioLength) {
    return readInto(index, DriverCommand::ReadBulk, kSmallestRead, buffer, ioLength,
                    kLargestTransfer);
}

ZDEV_API int32_t ZDEV_CALL ZdevWriteData(int32_t index, const void* buffer, uint32_t* ioLength) {
    return writeFrom(index, DriverCommand::WriteBulk, buffer, ioLength, kLargestTransfer);
}

ZDEV_API int32_t ZDEV_CALL ZdevWriteAuxData(int32_t index, const void* buffer, uint32_t* ioLength) {
    return writeFrom(index, DriverCommand::WriteAux, buffer, ioLength, kLargestTransfer);
}

ZDEV_API int32_t ZDEV_CALL ZdevWriteRead(int32_t index, const void* data, uint32_t inLength,
                                         void* buffer, uint32_t* ioLength) {
    uint32_t written = inLength;
    if (writeFrom(index, DriverCommand::WriteBulk, data, &written, kWriteReadLimit) == 0) {
        if (ioLength != nullptr) *ioLength = 0;
        return 0;
    }
    return readInto(index, DriverCommand::ReadBulk, kSmallestRead, buffer, ioLength,
                    kWriteReadLimit);
}

ZDEV_API int32_t ZDEV_CALL ZdevReadInter(int32_t index, void* buffer, uint32_t* ioLength) {
    return readInto(index, DriverCommand::ReadInterrupt, kSmallestInterruptRead, buffer, ioLength,
                    kLargestTransfer);
}

}  // extern "C"
