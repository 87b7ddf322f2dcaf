// Exports that configure and steer the device: descriptors and status,
// pipe aborts and resets, time-outs, exclusive use, buffered transfers and
// the caller's own command records.
#include <algorithm>
#include <array>
#include <cstring>

#include "device_table.h"
#include "driver_record.h"
#include "zelvo/ZelvoDev.h"

using namespace zelvo::zdev;

namespace {

constexpr std::size_t kSetupSize = 8;
constexpr uint32_t kLargestDescriptor = 1024;
constexpr uint32_t kDeviceDescriptorSize = 18;
constexpr std::size_t kStatusSize = 8;

zelvo::driver::FileHandle handleOf(int32_t index) { return DeviceTable::instance().resolve(index); }

int32_t result(bool ok) { return ok ? 1 : 0; }

// A control transfer from setup; its returned bytes land in dest.
Completed controlIn(int32_t index, const std::array<uint8_t, kSetupSize>& setup,
                    std::span<uint8_t> dest) {
    std::vector<uint8_t> record =
        makeRecord(DriverCommand::ControlTransfer, kSetupSize, setup, dest.size());
    const Completed c = sendRecord(handleOf(index), record, kRecordHeaderSize + kSetupSize);
    if (!c.ok) return c;
    const uint32_t kept = std::min<uint32_t>(c.length, static_cast<uint32_t>(dest.size()));
    std::copy_n(record.begin() + kRecordHeaderSize, kept, dest.begin());
    return {true, kept};
}

int32_t deviceDescriptor(int32_t index, void* buffer, uint32_t* ioLength) {
    if (ioLength == nullptr) return 0;
    const uint32_t size = std::min(*ioLength, kLargestDescriptor);
    *ioLength = 0;
    if (buffer == nullptr) return 0;
    const std::array<uint8_t, kSetupSize> setup{0x80,
                                                0x06,
                                                0x00,
                                                0x01,
                                                0x00,
                                                0x00,
                                                static_cast<uint8_t>(size),
                                                static_cast<uint8_t>(size >> 8)};
    const Completed c = controlIn(index, setup, std::span(static_cast<uint8_t*>(buffer), size));
    *ioLength = c.length;
    return result(c.ok);
}

bool onePipe(int32_t index, DriverCommand command, PipeNumber pipe) {
    return sendWord(handleOf(index), command, static_cast<uint32_t>(pipe));
}

bool oneByte(int32_t index, DriverCommand command, uint8_t value) {
    const std::array<uint8_t, 1> payload{value};
    std::vector<uint8_t> record = makeRecord(command, 1, payload, 4);
    return sendRecord(handleOf(index), record, kRecordHeaderSize + 1).ok;
}

int32_t queryBuffered(int32_t index, DriverCommand command) {
    const std::array<uint8_t, 1> payload{kBufferQuery};
    std::vector<uint8_t> record = makeRecord(command, 1, payload, 4);
    const Completed c = sendRecord(handleOf(index), record, kRecordHeaderSize + 1);
    if (!c.ok || c.length < 4) return -1;
    uint32_t value = 0;
    std::memcpy(&value, record.data() + kRecordHeaderSize, 4);
    return static_cast<int32_t>(value);
}

bool timeouts(int32_t index, std::span<const uint32_t> values) {
    std::vector<uint8_t> payload;
    for (uint32_t v : values)
        for (int i = 0; i < 4; ++i) payload.push_back(static_cast<uint8_t>(v >> (8 * i)));
    std::vector<uint8_t> record =
        makeRecord(DriverCommand::SetTimeouts, static_cast<uint32_t>(payload.size()), payload);
    return sendRecord(handleOf(index), record, record.size()).ok;
}

}  // namespace

extern "C" {

ZDEV_API uint32_t ZDEV_CALL ZdevDriverCommand(int32_t index, void* record) {
    if (record == nullptr) return 0;
    auto* bytes = static_cast<uint8_t*>(record);
    const uint32_t length = recordLength(std::span<const uint8_t>(bytes, kRecordHeaderSize));
    if (length > kMaxTransferSize) return 0;
    const std::size_t size = std::max<std::size_t>(kRecordHeaderSize + length, kShortRecordSize);
    std::vector<uint8_t> copy(bytes, bytes + size);
    uint32_t returned = 0;
    const Status s = zelvo::driver::Driver::instance().deviceControl(handleOf(index), kControlCode,
                                                                     copy, copy, returned);
    // The caller sees the completed record whatever its status.
    std::memcpy(bytes, copy.data(),
                std::min<std::size_t>(std::max<uint32_t>(returned, kRecordHeaderSize), size));
    return s == Status::Success ? returned : 0;
}

ZDEV_API int32_t ZDEV_CALL ZdevResetDevice(int32_t index) {
    std::vector<uint8_t> record =
        makeRecord(DriverCommand::ResetDevice, 0, {}, kShortRecordSize - kRecordHeaderSize);
    return result(sendRecord(handleOf(index), record, record.size()).ok);
}

ZDEV_API int32_t ZDEV_CALL ZdevGetDeviceDescr(int32_t index, void* buffer, uint32_t* ioLength) {
    return deviceDescriptor(index, buffer, ioLength);
}

ZDEV_API int32_t ZDEV_CALL ZdevGetConfigDescr(int32_t index, void* buffer, uint32_t* ioLength) {
    if (ioLength == nullptr) return 0;
    const uint32_t size = std::min(*ioLength, kLargestDescriptor);
    *ioLength = 0;
    if (buffer == nullptr) return 0;
    std::vector<uint8_t> record = makeRecord(DriverCommand::ConfigDescriptor, size, {}, size);
    const Completed c = sendRecord(handleOf(index), record, kRecordHeaderSize);
    if (!c.ok) return 0;
    const uint32_t kept = std::min(c.length, size);
    std::memcpy(buffer, record.data() + kRecordHeaderSize, kept);
    *ioLength = kept;
    return 1;
}

ZDEV_API uint32_t ZDEV_CALL ZdevGetUsbID(int32_t index) {
    std::array<uint8_t, kDeviceDescriptorSize> d{};
    uint32_t length = kDeviceDescriptorSize;
    if (deviceDescriptor(index, d.data(), &length) == 0 || length < kDeviceDescriptorSize) return 0;
    const uint32_t vendor = d[8] | (d[9] << 8);
    const uint32_t product = d[10] | (d[11] << 8);
    return vendor | (product << 16);
}

ZDEV_API int32_t ZDEV_CALL ZdevGetStatus(int32_t index, int32_t* status) {
    if (status == nullptr) return 0;
    const std::array<uint8_t, kSetupSize> setup{0xC0, 0x52, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00};
    std::array<uint8_t, kStatusSize> reply{};
    const Completed c = controlIn(index, setup, reply);
    if (!c.ok || c.length < 2) return 0;
    *status = reply[0] + 256 * (reply[1] & 6);
    return 1;
}

ZDEV_API int32_t ZDEV_CALL ZdevAbortInter(int32_t index) {
    return result(onePipe(index, DriverCommand::AbortPipe, PipeNumber::Interrupt));
}
ZDEV_API int32_t ZDEV_CALL ZdevAbortRead(int32_t index) {
    return result(onePipe(index, DriverCommand::AbortPipe, PipeNumber::BulkIn));
}
ZDEV_API int32_t ZDEV_CALL ZdevAbortWrite(int32_t index) {
    return result(onePipe(index, DriverCommand::AbortPipe, PipeNumber::BulkOut));
}
ZDEV_API int32_t ZDEV_CALL ZdevResetInter(int32_t index) {
    return result(onePipe(index, DriverCommand::ResetPipe, PipeNumber::Interrupt));
}
ZDEV_API int32_t ZDEV_CALL ZdevResetRead(int32_t index) {
    return result(onePipe(index, DriverCommand::ResetPipe, PipeNumber::BulkIn));
}
ZDEV_API int32_t ZDEV_CALL ZdevResetWrite(int32_t index) {
    return result(onePipe(index, DriverCommand::ResetPipe, PipeNumber::BulkOut));
}
ZDEV_API int32_t ZDEV_CALL ZdevResetAux(int32_t index) {
    return result(onePipe(index, DriverCommand::ResetPipe, PipeNumber::AuxOut));
}

ZDEV_API int32_t ZDEV_CALL ZdevSetTimeout(int32_t index, uint32_t writeMs, uint32_t readMs) {
    const std::array<uint32_t, 2> v{writeMs, readMs};
    return result(timeouts(index, v));
}

ZDEV_API int32_t ZDEV_CALL ZdevSetTimeoutEx(int32_t index, uint32_t writeMs, uint32_t readMs,
                                            uint32_t auxMs, uint32_t interruptMs) {
    const std::array<uint32_t, 4> v{writeMs, readMs, auxMs, interruptMs};
    return result(timeouts(index, v));
}

ZDEV_API int32_t ZDEV_CALL ZdevSetExclusive(int32_t index, uint32_t exclusive) {
    return result(oneByte(index, DriverCommand::SetExclusive, exclusive != 0 ? 1 : 0));
}

ZDEV_API int32_t ZDEV_CALL ZdevSetBufUpload(int32_t index, uint32_t enable) {
    return result(
        oneByte(index, DriverCommand::BufferedUpload, enable != 0 ? kBufferStart : kBufferStop));
}
ZDEV_API int32_t ZDEV_CALL ZdevSetBufDownload(int32_t index, uint32_t enable) {
    return result(
        oneByte(index, DriverCommand::BufferedDownload, enable != 0 ? kBufferStart : kBufferStop));
}
ZDEV_API int32_t ZDEV_CALL ZdevQueryBufUpload(int32_t index) {
    return queryBuffered(index, DriverCommand::BufferedUpload);
}
ZDEV_API int32_t ZDEV_CALL ZdevQueryBufDownload(int32_t index) {
    return queryBuffered(index, DriverCommand::BufferedDownload);
}

}  // extern "C"
