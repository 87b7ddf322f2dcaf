// Serves one simulated instrument on a pseudo-terminal, from a thread of its
// own: the PC opens the slave side (path()) as its serial port.  Every frame
// from the PC is a 2-byte little-endian length and payload, and so is every
// reply.  Output can be paced at the rate the PC configured on the line.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

#include "reply_source.h"
#include "server_loop.h"

namespace zelvo::sim {

// Faults of the serial line itself, beside the instrument's own (Faults).
struct SerialFaults {
    bool oversizeHeader = false;    // every reply's header announces 599 bytes
    bool truncatedReplies = false;  // the header announces the whole reply, half of it follows
    // After every reply, stray bytes that happen to form an acknowledgement frame:
    // only discarding stale input before each request keeps them from answering it.
    bool noise = false;
};

class SerialServer {
  public:
    // Creates the pseudo-terminal; throws std::system_error when that fails.
    explicit SerialServer(ReplySource& instrument);
    ~SerialServer();
    SerialServer(const SerialServer&) = delete;
    SerialServer& operator=(const SerialServer&) = delete;

    void start();
    void stop();
    // The device path the PC opens.
    const std::string& path() const { return path_; }

    void setSerialFaults(const SerialFaults& faults);
    // Sends each reply byte only when the line would have carried it: 11 bit
    // times per character at the baud rate the PC set.
    void setPaced(bool paced) { paced_.store(paced); }
    // The baud rate the PC set on the line, when it is one of the table's.
    std::optional<unsigned> lineBaud() const;

  private:
    void run();
    std::vector<uint8_t> onLine(const Reply& reply);

    ReplySource& instrument_;
    int master_ = -1;
    // Held open so the line stays up while the PC has the port closed.
    int slave_ = -1;
    std::string path_;
    ServerThread loop_;
    std::atomic<bool> paced_{false};
    std::mutex faultsMutex_;
    SerialFaults faults_;
};

}  // namespace zelvo::sim
