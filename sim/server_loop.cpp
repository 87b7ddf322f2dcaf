#include "server_loop.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

namespace zelvo::sim {

ServerThread::ServerThread() {
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    // Without it stop() could never end the loop.
    if (wake_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

ServerThread::~ServerThread() {
    stop();
    ::close(wake_);
}

void ServerThread::start(std::function<void()> loop) {
    if (!thread_.joinable()) thread_ = std::thread(std::move(loop));
}

void ServerThread::stop() {
    if (!thread_.joinable()) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    thread_.join();
    uint64_t drained;
    [[maybe_unused]] const ssize_t m = ::read(wake_, &drained, sizeof drained);
}

int pollTimeoutUntil(std::chrono::steady_clock::time_point due,
                     std::chrono::steady_clock::time_point now) {
    if (due == std::chrono::steady_clock::time_point::max()) return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
    return static_cast<int>(std::max<int64_t>(0, wait));
}

}  // namespace zelvo::sim
