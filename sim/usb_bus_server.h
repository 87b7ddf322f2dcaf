// Serves simulated instruments as devices on a virtual USB bus, reached by
// the driver's simulated-bus backend over a Unix stream socket.  Tests and
// zelvo-sim can plug and unplug an instrument, stall an endpoint, report a
// small packet size and make the instrument answer slowly.
#pragma once

#include <chrono>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "simbus/wire.h"
#include "usb_port.h"

namespace zelvo::sim {

class UsbBusServer {
  public:
    // Listens on socketPath (replacing a stale socket there); throws
    // std::system_error when that fails.
    explicit UsbBusServer(std::string socketPath);
    ~UsbBusServer();
    UsbBusServer(const UsbBusServer&) = delete;
    UsbBusServer& operator=(const UsbBusServer&) = delete;

    void start();
    void stop();
    const std::string& socketPath() const { return socketPath_; }

    // Puts instrument on the next free port, plugged in; returns the port.
    uint32_t attach(ReplySource& instrument, UsbIdentity identity = {});
    // The stable path of a port, as the driver lists it.
    std::string pathOf(uint32_t port) const;
    // An unplug ends every transfer pending on the port with "no device".
    void unplug(uint32_t port);
    void plug(uint32_t port);
    void stall(uint32_t port, uint8_t endpoint);
    void setSlowness(uint32_t port, std::chrono::milliseconds delay);
    void raiseInterrupt(uint32_t port, std::span<const uint8_t> report);
    std::size_t packetsSent(uint32_t port);
    std::size_t transfersReceived(uint32_t port);

  private:
    struct Client {
        int fd;
        std::vector<uint8_t> input;
    };
    struct PendingIn {
        int fd;
        uint32_t id;
        uint32_t port;
        uint8_t endpoint;
        std::size_t wanted;
        std::vector<uint8_t> collected;
    };
    struct Attached {
        std::unique_ptr<UsbPort> port;
        bool plugged = true;
    };

    void run();
    bool readClient(Client& c);
    void onMessage(int fd, driver::simbus::WireMessage m);
    void onSubmit(int fd, const driver::simbus::WireMessage& m);
    void service(UsbClock::time_point now);
    int pollTimeout(UsbClock::time_point now) const;
    void send(int fd, const driver::simbus::WireMessage& m);
    void done(int fd, uint32_t id, driver::TransferStatus s, std::vector<uint8_t> data = {},
              uint32_t length = 0);
    void broadcast(const driver::simbus::WireMessage& m);
    // Tells every connected driver that the device on port was plugged or unplugged.
    void announce(driver::simbus::WireType type, uint32_t port);
    driver::simbus::PortDevice record(uint32_t port) const;
    void wake();

    std::string socketPath_;
    int listen_ = -1;
    int wake_ = -1;
    mutable std::mutex mutex_;
    std::map<uint32_t, Attached> ports_;
    std::list<Client> clients_;
    std::list<PendingIn> pending_;
    std::thread thread_;
};

}  // namespace zelvo::sim
