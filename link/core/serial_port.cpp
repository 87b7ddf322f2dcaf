#include "core/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "protocol/serial_line.h"

namespace zelvo::link {
namespace {

using Clock = std::chrono::steady_clock;

// Major numbers of the pseudo-terminal slaves (/dev/pts/*).
constexpr unsigned kPtySlaveMajorFirst = 136;
constexpr unsigned kPtySlaveMajorLast = 143;
// Beyond the line time of a write, how long the port may take to accept it.
constexpr std::chrono::milliseconds kWriteSlack{1000};

bool isPseudoTerminal(int fd) {
    struct stat s {};
    if (::fstat(fd, &s) != 0 || !S_ISCHR(s.st_mode)) return false;
    const unsigned m = major(s.st_rdev);
    return m >= kPtySlaveMajorFirst && m <= kPtySlaveMajorLast;
}

int pollFor(int fd, short events, std::chrono::milliseconds wait, short& revents) {
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, wait.count())));
    revents = p.revents;
    return n;
}

}  // namespace

Outcome SerialPort::fail(const char* step, int error) {
    std::snprintf(lastError_, sizeof lastError_, "%s: (%d) %s\n", step, error,
                  std::strerror(error));
    return Outcome::IoError;
}

Outcome SerialPort::failWithText(const char* text) {
    std::snprintf(lastError_, sizeof lastError_, "%s", text);
    return Outcome::IoError;
}

std::chrono::milliseconds SerialPort::characterGap() const {
    // Three character times, but never below the scheduling jitter of a busy machine.
    const auto three = std::chrono::ceil<std::chrono::milliseconds>(lineTime(3, baud_));
    return std::max(three, std::chrono::milliseconds(5));
}

Outcome SerialPort::open(const std::string& path, uint16_t baudIndex) {
    close();
    const auto rate = zelvo::baudRate(baudIndex);
    if (!rate) return fail("Open(): invalid baud rate index", EINVAL);

    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail("Open(): open() failed", errno);
    fd_ = fd;
    // The lock refuses a second opener of this library even when running as root,
    // whom TIOCEXCL does not stop; TIOCEXCL refuses other programs.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        fd_ = -1;
        return fail("Open(): flock() failed, the port is in use", e);
    }
    const auto closeAfter = [this](const char* step, int error) {
        const Outcome o = fail(step, error);
        close();
        return o;
    };
    termios current{};
    if (::tcgetattr(fd, &current) != 0) return closeAfter("Open(): tcgetattr() failed", errno);
    if (::ioctl(fd, TIOCEXCL) != 0) return closeAfter("Open(): ioctl(TIOCEXCL) failed", errno);
    const bool pty = isPseudoTerminal(fd);
    const termios withParity = *lineSettings(current, baudIndex, true);
    if (::tcsetattr(fd, TCSANOW, &withParity) != 0) {
        const int e = errno;
        // A pseudo-terminal has no parity to set and some kernels say so with EINVAL.
        const termios withoutParity = *lineSettings(current, baudIndex, false);
        if (!pty || e != EINVAL || ::tcsetattr(fd, TCSANOW, &withoutParity) != 0)
            return closeAfter("Open(): tcsetattr() failed", e);
    }
    // DTR on, RTS off.  A pseudo-terminal has no modem lines.
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) == 0) {
        lines = (lines | TIOCM_DTR) & ~TIOCM_RTS;
        if (::ioctl(fd, TIOCMSET, &lines) != 0 && !pty)
            return closeAfter("Open(): ioctl(TIOCMSET) failed", errno);
    } else if (!pty) {
        return closeAfter("Open(): ioctl(TIOCMGET) failed", errno);
    }
    if (::tcflush(fd, TCIOFLUSH) != 0) return closeAfter("Open(): tcflush() failed", errno);
    baud_ = *rate;
    return Outcome::Ok;
}

void SerialPort::close() {
    if (fd_ < 0) return;
    // The exclusive flag belongs to the terminal, not to this descriptor: clear it
    // so the port opens again once this library lets go of it.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    baud_ = 0;
}

Outcome SerialPort::discardInput() {
    if (!isOpen()) return Outcome::NotOpen;
    if (::tcflush(fd_, TCIFLUSH) != 0) return fail("Flush(): tcflush() failed", errno);
    return Outcome::Ok;
}

Outcome SerialPort::write(std::span<const uint8_t> bytes) {
    if (!isOpen()) return Outcome::NotOpen;
    const auto deadline = Clock::now() + 2 * lineTime(bytes.size(), baud_) + kWriteSlack;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + at, bytes.size() - at);
        if (n > 0) {
            at += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return fail("WriteData(): write() failed", errno);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return fail("WriteData(): write() timed out", ETIMEDOUT);
        short revents = 0;
        if (pollFor(fd_, POLLOUT, left, revents) < 0 && errno != EINTR)
            return fail("WriteData(): poll() failed", errno);
        if (revents & (POLLERR | POLLHUP | POLLNVAL))
            return failWithText("WriteData(): the line hung up\n");
    }
    if (::tcdrain(fd_) != 0) return fail("WriteData(): tcdrain() failed", errno);
    return Outcome::Ok;
}

Received SerialPort::read(std::span<uint8_t> dest, std::chrono::milliseconds firstWait) {
    if (!isOpen()) return {Outcome::NotOpen, 0};
    std::size_t got = 0;
    auto wait = firstWait;
    while (got < dest.size()) {
        short revents = 0;
        const int ready = pollFor(fd_, POLLIN, wait, revents);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return {fail("ReadData(): poll() failed", errno), got};
        }
        if (ready == 0) break;
        if (revents & POLLIN) {
            const ssize_t n = ::read(fd_, dest.data() + got, dest.size() - got);
            if (n > 0) {
                got += static_cast<std::size_t>(n);
            } else if (n == 0) {
                return {failWithText("ReadData(): the line hung up\n"), got};
            } else if (errno != EAGAIN && errno != EINTR) {
                return {fail("ReadData(): read() failed", errno), got};
            }
        } else if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
            return {failWithText("ReadData(): the line hung up\n"), got};
        }
        wait = characterGap();
    }
    return {got > 0 ? Outcome::Ok : Outcome::TimedOut, got};
}

}  // namespace zelvo::link
