#include "serial_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <deque>
#include <system_error>

#include "protocol/byte_order.h"
#include "protocol/serial_frame.h"
#include "protocol/serial_line.h"
#include "reply_schedule.h"

namespace zelvo::sim {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// Frames from the PC are never longer than a length field can say.
constexpr std::size_t kIncomingMax = 0xFFFF;
constexpr uint16_t kOversizeLength = kSerialReplyMax + 1;
constexpr std::array<uint8_t, 6> kNoise = {0x04, 0x00, 0x84, 0x00, 0x00, 0x00};

}  // namespace

SerialServer::SerialServer(ReplySource& instrument) : instrument_(instrument) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) fail("posix_openpt");
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        const int e = errno;
        ::close(master_);
        errno = e;
        fail("pseudo-terminal set-up");
    }
    path_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        const int e = errno;
        ::close(master_);
        errno = e;
        fail("open pseudo-terminal slave");
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

SerialServer::~SerialServer() {
    stop();
    ::close(slave_);
    ::close(master_);
}

void SerialServer::start() {
    loop_.start([this] { run(); });
}

void SerialServer::stop() { loop_.stop(); }

void SerialServer::setSerialFaults(const SerialFaults& faults) {
    std::lock_guard lock(faultsMutex_);
    faults_ = faults;
}

std::optional<unsigned> SerialServer::lineBaud() const {
    termios t{};
    if (::tcgetattr(slave_, &t) != 0) return std::nullopt;
    return baudOfSpeed(cfgetospeed(&t));
}

std::vector<uint8_t> SerialServer::onLine(const Reply& reply) {
    SerialFaults f;
    {
        std::lock_guard lock(faultsMutex_);
        f = faults_;
    }
    std::vector<uint8_t> bytes = frameSerial(reply.bytes);
    if (f.oversizeHeader) storeLe16(bytes, 0, kOversizeLength);
    if (f.truncatedReplies) bytes.resize(kSerialLengthPrefix + reply.bytes.size() / 2);
    if (f.noise) bytes.insert(bytes.end(), kNoise.begin(), kNoise.end());
    return bytes;
}

void SerialServer::run() {
    FrameAssembler incoming(kIncomingMax);
    // Replies wait here until their time, then join the line in order.
    ReplySchedule<std::vector<uint8_t>> scheduled;
    std::deque<uint8_t> line;
    auto nextCharacterAt = Clock::now();
    std::array<uint8_t, 4096> buffer;
    for (;;) {
        const auto now = Clock::now();
        const bool paced = paced_.load();
        const unsigned baud = paced ? lineBaud().value_or(0) : 0;
        auto due = scheduled.nextDue();
        if (!line.empty() && baud) due = std::min(due, nextCharacterAt);
        const int timeout = pollTimeoutUntil(due, now);
        // Unpaced output waits only for room in the pseudo-terminal's buffer.
        const bool waitForRoom = !line.empty() && !baud;
        const short masterEvents = static_cast<short>(POLLIN | (waitForRoom ? POLLOUT : 0));
        pollfd fds[2] = {{master_, masterEvents, 0}, {loop_.wakeDescriptor(), POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) return;

        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(master_, buffer.data(), buffer.size());
            for (std::size_t at = 0; n > 0 && at < static_cast<std::size_t>(n);) {
                at +=
                    incoming.feed(std::span(buffer).subspan(at, static_cast<std::size_t>(n) - at));
                if (incoming.state() != FrameAssembler::State::Complete) continue;
                for (const Reply& r : instrument_.handle(incoming.payload()))
                    scheduled.add(r.delay, onLine(r));
                incoming.reset();
            }
        }

        const auto after = Clock::now();
        scheduled.takeDue(after, [&](const std::vector<uint8_t>& bytes) {
            if (line.empty()) nextCharacterAt = std::max(nextCharacterAt, after);
            line.insert(line.end(), bytes.begin(), bytes.end());
        });
        // Unpaced, everything goes at once; paced, the characters whose time has come.
        std::size_t ready = line.size();
        if (baud) {
            const auto perCharacter = lineTime(1, baud);
            ready = 0;
            for (auto t = nextCharacterAt; ready < line.size() && t <= after; t += perCharacter)
                ++ready;
        }
        if (ready == 0) continue;
        std::vector<uint8_t> out(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(ready));
        const ssize_t written = ::write(master_, out.data(), out.size());
        if (written <= 0) continue;
        line.erase(line.begin(), line.begin() + written);
        if (baud) nextCharacterAt += lineTime(static_cast<std::size_t>(written), baud);
    }
}

}  // namespace zelvo::sim
