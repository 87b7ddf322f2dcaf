// The simulated bus: devices served by zelvo-sim's USB bus server, reached
// over a Unix stream socket.  One reader thread plays the part of libusb's
// event thread: every completion and plug event is delivered from it.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "simbus/wire.h"
#include "zelvo/driver/bus.h"

namespace zelvo::driver::simbus {

class SimBus final : public Bus {
  public:
    // Connects to the server's socket; throws std::system_error when that fails.
    explicit SimBus(const std::string& socketPath);
    ~SimBus() override;
    SimBus(const SimBus&) = delete;
    SimBus& operator=(const SimBus&) = delete;

    std::vector<BusDeviceInfo> devices() override;
    std::unique_ptr<BusDevice> open(const BusDeviceInfo& device) override;
    bool watchPlugs(PlugHandler handler) override;

    // Used by the devices it opens.
    std::optional<TransferId> submit(uint32_t port, TransferType type, uint8_t endpoint,
                                     std::span<uint8_t> buffer, Completion done);
    void cancel(TransferId id);
    // Sends a request that is answered by one Done or DeviceList; none when
    // the server does not answer.
    std::optional<WireMessage> call(WireMessage request);

  private:
    struct Pending {
        std::span<uint8_t> buffer;  // where IN data lands
        bool in;
        Completion done;
    };
    struct Waiter {
        std::optional<WireMessage> reply;
        bool finished = false;
    };

    bool send(const WireMessage& m);
    void readLoop();
    void dispatch(WireMessage m);
    void connectionLost();
    uint32_t nextId();

    int socket_ = -1;
    std::mutex sendMutex_;
    std::mutex mutex_;
    std::condition_variable answered_;
    bool connected_ = true;
    uint32_t lastId_ = 0;
    std::map<uint32_t, Pending> transfers_;
    std::map<uint32_t, Waiter*> waiters_;
    std::map<uint32_t, BusDeviceInfo> known_;  // by port, for departures on a lost connection
    PlugHandler plugHandler_;
    std::thread reader_;
};

}  // namespace zelvo::driver::simbus
