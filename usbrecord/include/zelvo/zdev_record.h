// The command record that the USB access library and the driver exchange
// through the driver's one device control code, with its command numbers,
// pipe numbers and completion statuses.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelvo::zdev {

// The only device control code the driver executes.
inline constexpr uint32_t kControlCode = 0x223CDC;

// Record layout: u32 command (on return: the completion status), u32 length
// (of the payload sent or the data wanted; on return: the bytes moved), data.
inline constexpr std::size_t kRecordHeaderSize = 8;
inline constexpr std::size_t kCommandOffset = 0;
inline constexpr std::size_t kLengthOffset = 4;

// Size of the records that carry no payload (version, device reset).
inline constexpr std::size_t kShortRecordSize = 72;

enum class DriverCommand : uint32_t {
    Version = 1,
    ConfigDescriptor = 2,
    ControlTransfer = 4,
    ReadInterrupt = 5,
    ReadBulk = 6,
    WriteBulk = 7,
    WriteAux = 8,
    SetExclusive = 11,
    ResetDevice = 12,
    ResetPipe = 13,
    AbortPipe = 14,
    SetTimeouts = 15,
    BufferedUpload = 16,
    BufferedDownload = 17,
};

// Pipe numbers carried by the reset-pipe and abort-pipe commands.
enum class PipeNumber : uint32_t {
    Interrupt = 5,
    BulkIn = 6,
    BulkOut = 7,
    AuxOut = 8,
};

// Payload byte of the buffered upload and download commands.
inline constexpr uint8_t kBufferStop = 0;
inline constexpr uint8_t kBufferQuery = 1;
inline constexpr uint8_t kBufferStart = 2;

// Completion statuses, with the values the instrument's host software has
// always seen in the record.
enum class Status : uint32_t {
    Success = 0,
    Timeout = 258,
    BufferOverflow = 0x80000005,
    Unsuccessful = 0xC0000001,
    InvalidHandle = 0xC0000008,
    InvalidParameter = 0xC000000D,
    NoSuchDevice = 0xC000000E,
    AccessDenied = 0xC0000022,
    BufferTooSmall = 0xC0000023,
    DeviceDataError = 0xC000009C,
    DeviceNotConnected = 0xC000009D,
    Cancelled = 0xC0000120,
};

// Version byte the driver reports to command 1.
inline constexpr uint8_t kDriverVersion = 17;

// Largest transfer any pipe moves in one command.
inline constexpr std::size_t kMaxTransferSize = 4096;
// The instrument's bulk packet size.
inline constexpr std::size_t kBulkPacketSize = 64;

}  // namespace zelvo::zdev
