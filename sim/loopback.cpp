#include "loopback.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "zelvo/command_codes.h"

namespace zelvo::sim {

std::unique_ptr<UdpServer> serveOnFreeLoopback(ReplySource& instrument) {
    // 127.0.0.0/16 stays free for people's own use; the low seven bits of the last
    // octet vary so the server's stand-in foreign address (bit 7 flipped) is unused too.
    const auto pid = static_cast<uint32_t>(::getpid());
    for (uint32_t attempt = 0; attempt < 256; ++attempt) {
        const uint32_t n = pid * 131u + attempt * 7919u;
        const std::string address = "127." + std::to_string(1 + n % 250) + "." +
                                    std::to_string((n / 250) % 256) + "." +
                                    std::to_string(1 + (n / 64000) % 126);
        try {
            auto server = std::make_unique<UdpServer>(instrument, address, kLanPort);
            server->start();
            return server;
        } catch (const std::system_error& e) {
            if (e.code().value() != EADDRINUSE) throw;
        }
    }
    throw std::system_error(EADDRINUSE, std::generic_category(), "no free loopback address");
}

}  // namespace zelvo::sim
