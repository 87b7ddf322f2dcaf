// The driver's lower edge: a bus of USB devices with asynchronous transfers.
// Two implementations exist: libusb (real devices) and the simulated bus that
// reaches zelvo-sim over a Unix socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zelvo::driver {

enum class TransferType : uint8_t { Control = 0, Bulk = 2, Interrupt = 3 };

enum class TransferStatus : uint8_t {
    Completed = 0,
    Cancelled = 1,  // cancel() reached it before it finished
    Stalled = 2,    // the endpoint answered with a stall
    NoDevice = 3,   // the device went away
    Error = 4,      // any other failure of the bus
    Overflow = 5,   // the device sent more than the buffer holds
};

struct TransferResult {
    TransferStatus status;
    std::size_t length;  // bytes moved (for control transfers: after the setup packet)
};

struct EndpointInfo {
    uint8_t address;  // bit 7 set for IN
    TransferType type;
    uint16_t maxPacketSize;
};

struct BusDeviceInfo {
    std::string path;  // stable for as long as the device stays on the same port
    uint16_t vendor = 0;
    uint16_t product = 0;
    uint8_t interfaceNumber = 0;  // the interface that holds the endpoints below
    std::vector<EndpointInfo> endpoints;
};

using TransferId = uint64_t;
// Called exactly once per submitted transfer, on the bus's event thread.
using Completion = std::function<void(TransferResult)>;

// One opened device.  Destroying it cancels nothing: the owner waits for all
// its transfers to complete first.
class BusDevice {
  public:
    virtual ~BusDevice() = default;
    // Starts a transfer on buffer, which must outlive its completion.  For a
    // control transfer the buffer starts with the 8-byte setup packet.  Returns
    // none (and never calls done) when the transfer cannot start at all.
    virtual std::optional<TransferId> submit(TransferType type, uint8_t endpoint,
                                             std::span<uint8_t> buffer, Completion done) = 0;
    // Asks for the transfer to end early; it then completes as Cancelled
    // unless it finished first.
    virtual void cancel(TransferId id) = 0;
    virtual bool clearHalt(uint8_t endpoint) = 0;
    virtual bool resetDevice() = 0;
};

enum class PlugEvent : uint8_t { Arrived, Left };
using PlugHandler = std::function<void(const BusDeviceInfo&, PlugEvent)>;

class Bus {
  public:
    virtual ~Bus() = default;
    // Devices attached now.
    virtual std::vector<BusDeviceInfo> devices() = 0;
    // Opens and claims the device's interface; none when it is gone or busy.
    virtual std::unique_ptr<BusDevice> open(const BusDeviceInfo& device) = 0;
    // Delivers arrivals and departures to handler from the bus's own thread
    // until the bus is destroyed; false when the bus cannot report them.
    virtual bool watchPlugs(PlugHandler handler) = 0;
};

// The bus the environment asks for: the simulated bus when ZELVO_USB_SIM
// names the simulator's socket, libusb otherwise.  None when neither can start.
std::unique_ptr<Bus> makeBus();

}  // namespace zelvo::driver
