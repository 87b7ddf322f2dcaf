// One open serial line: opened exclusively and non-blocking, waited on with
// poll().  Knows nothing of frames; the slot above it does.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "core/transport.h"

namespace zelvo::link {

class SerialPort {
  public:
    SerialPort() = default;
    ~SerialPort() { close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device at the baud index with the line settings of serial_line.h.
    // A second opener of the same device is refused.  On a pseudo-terminal, which
    // has no line and may refuse a parity request, the port is opened without parity.
    Outcome open(const std::string& path, uint16_t baudIndex);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    unsigned baudRate() const { return baud_; }

    // Drops whatever has arrived and not been read: late replies and noise.
    Outcome discardInput();
    // Writes all bytes and waits until they have left the port.
    Outcome write(std::span<const uint8_t> bytes);
    // Waits up to firstWait for a character, then goes on taking characters while
    // they keep coming, until dest is full.  TimedOut when nothing arrived.
    Received read(std::span<uint8_t> dest, std::chrono::milliseconds firstWait);

    // The last failure as "step: (errno) text\n"; empty before the first.
    const char* lastError() const { return lastError_; }

  private:
    Outcome fail(const char* step, int error);
    Outcome failWithText(const char* text);
    // Longest pause between two characters of one burst at the current rate.
    std::chrono::milliseconds characterGap() const;

    int fd_ = -1;
    unsigned baud_ = 0;
    char lastError_[256] = {};
};

}  // namespace zelvo::link
