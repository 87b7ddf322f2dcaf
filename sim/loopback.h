// Starts a simulated instrument on a loopback address no other process uses,
// so tests and benchmarks can run side by side.
#pragma once

#include <memory>

#include "simulated_instrument.h"
#include "udp_server.h"

namespace zelvo::sim {

// Tries addresses of 127.0.0.0/8 derived from the process id until one binds
// port 2001; throws std::system_error when none does.
std::unique_ptr<UdpServer> serveOnFreeLoopback(ReplySource& instrument);

}  // namespace zelvo::sim
