// Messages between the simulated-bus backend and the simulator's USB bus
// server over a Unix stream socket.  Free of I/O so both ends can be tested
// from bytes.
//
// Frame: u32 size of the rest, u8 type, u8 endpoint, u8 code, u8 zero,
// u32 id, u32 port, u32 length, then data; all little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "zelvo/driver/bus.h"

namespace zelvo::driver::simbus {

enum class WireType : uint8_t {
    List = 1,        // -> DeviceList with the same id
    DeviceList = 2,  // data: device records
    Open = 3,        // -> Done; code 0 when the device on port is there
    Submit = 4,      // code: TransferType; IN: length wanted; OUT and control: data
    Cancel = 5,      // id of a submitted transfer; answered by its Done, if still pending
    ClearHalt = 6,   // -> Done
    Reset = 7,       // -> Done
    Done = 8,        // code: TransferStatus; length: bytes moved; data: bytes read
    Plug = 9,        // unsolicited; data: one device record
    Unplug = 10,     // unsolicited; data: the departed device's record
};

struct WireMessage {
    WireType type = WireType::List;
    uint8_t endpoint = 0;
    uint8_t code = 0;
    uint32_t id = 0;
    uint32_t port = 0;
    uint32_t length = 0;
    std::vector<uint8_t> data;
};

inline constexpr std::size_t kFrameHeaderSize = 20;
// Largest frame either end accepts; a larger size marks a broken stream.
inline constexpr std::size_t kMaxFrameSize = 1u << 20;

std::vector<uint8_t> encode(const WireMessage& m);

enum class DecodeState : uint8_t { Complete, NeedMore, Invalid };
struct Decoded {
    DecodeState state;
    WireMessage message;  // when Complete
    std::size_t consumed;
};
// Takes the first whole frame from the front of bytes.
Decoded decode(std::span<const uint8_t> bytes);

struct PortDevice {
    uint32_t port;
    BusDeviceInfo info;
};
std::vector<uint8_t> encodeDevices(std::span<const PortDevice> devices);
// None when the records are cut short or inconsistent.
std::optional<std::vector<PortDevice>> decodeDevices(std::span<const uint8_t> bytes);

}  // namespace zelvo::driver::simbus
