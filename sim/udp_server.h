// Serves one simulated instrument over UDP on a loopback address, port 2001
// unless told otherwise, from a thread of its own.
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <string>

#include "reply_source.h"
#include "server_loop.h"

namespace zelvo::sim {

class UdpServer {
  public:
    // Binds address:port; throws std::system_error when that fails.
    UdpServer(ReplySource& instrument, const std::string& address, uint16_t port);
    ~UdpServer();
    UdpServer(const UdpServer&) = delete;
    UdpServer& operator=(const UdpServer&) = delete;

    void start();
    void stop();
    const std::string& address() const { return address_; }

  private:
    void run();

    ReplySource& instrument_;
    std::string address_;
    int socket_ = -1;
    int foreignSocket_ = -1;  // replies "from another host", for the fault of that name
    ServerThread loop_;
};

}  // namespace zelvo::sim
