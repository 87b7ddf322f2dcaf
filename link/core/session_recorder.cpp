#include "core/session_recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/device_calls.h"
#include "protocol/byte_order.h"
#include "zelvo_version.h"

namespace zelvo::link {
namespace {

// The environment variable that names the recording.
constexpr const char* kRecordVariable = "ZELVO_RECORD";
// How long the writer gathers records before it writes them: well within the
// second a crash may lose, and few enough wake-ups not to slow the exchanges.
constexpr std::chrono::milliseconds kBatchWindow{200};

session::Outcome recordedOutcome(Outcome o) {
    switch (o) {
        case Outcome::Ok:
            return session::Outcome::Ok;
        case Outcome::NotOpen:
            return session::Outcome::NotOpen;
        case Outcome::TimedOut:
            return session::Outcome::TimedOut;
        case Outcome::IoError:
            return session::Outcome::IoError;
        case Outcome::Malformed:
            return session::Outcome::Malformed;
        case Outcome::Refused:
            return session::Outcome::Refused;
        case Outcome::Cancelled:
            break;
    }
    return session::Outcome::Cancelled;
}

session::LinkKind recordedLink(DeviceHandle h) {
    switch (linkKind(h)) {
        case ZELVO_LINK_LAN:
            return session::LinkKind::Lan;
        case ZELVO_LINK_SERIAL:
            return session::LinkKind::Serial;
        default:
            // Every other kind is USB, as in the choice of transport.
            return session::LinkKind::Usb;
    }
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::unique_ptr<SessionRecorder> fromEnvironment() {
    const char* path = std::getenv(kRecordVariable);
    if (path == nullptr || *path == '\0') return nullptr;
    std::string error;
    auto recorder = SessionRecorder::open(path, error);
    if (!recorder)
        std::fprintf(stderr, "ZelvoDLL: cannot record to %s: %s; working unrecorded\n", path,
                     error.c_str());
    return recorder;
}

std::unique_ptr<SessionRecorder>& theRecorder() {
    static std::unique_ptr<SessionRecorder> recorder = fromEnvironment();
    return recorder;
}

// Reads ZELVO_RECORD as the library loads rather than at its first exchange.
[[maybe_unused]] const bool kRecorderStarted = theRecorder() != nullptr;

}  // namespace

SessionRecorder* activeRecorder() { return theRecorder().get(); }

std::unique_ptr<SessionRecorder> SessionRecorder::open(const std::string& path,
                                                       std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<SessionRecorder> recorder(new SessionRecorder(fd, path));
    if (!recorder->writeAll(
            session::encodeHeader({session::kFormatVersion, ZELVO_VERSION, utcNow()}))) {
        error = std::strerror(errno);
        return nullptr;
    }
    recorder->writer_ = std::thread([r = recorder.get()] { r->writeLoop(); });
    return recorder;
}

SessionRecorder::SessionRecorder(int descriptor, std::string path)
    : descriptor_(descriptor), path_(std::move(path)) {}

SessionRecorder::~SessionRecorder() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (writer_.joinable()) writer_.join();
    ::close(descriptor_);
}

void SessionRecorder::add(DeviceHandle h, const RequestFrame& request, Outcome outcome,
                          ReplyTrace trace, Clock::time_point began) {
    session::Exchange e;
    e.link = recordedLink(h);
    e.index = deviceNumber(h);
    for (std::size_t w = 0; w < e.request.size(); ++w) e.request[w] = loadLe32(request, 4 * w);
    e.outcome = recordedOutcome(outcome);
    e.packetSizes = std::move(trace.packetSizes);
    e.reply = std::move(trace.bytes);
    {
        std::lock_guard lock(mutex_);
        // Links on other threads may finish out of the order they began in.
        if (previousBegan_ != Clock::time_point{} && began > previousBegan_)
            e.gapMicros = static_cast<uint64_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(began - previousBegan_)
                    .count());
        previousBegan_ = std::max(previousBegan_, began);
        waiting_.push_back(std::move(e));
        // The writer sleeps only while nothing waits; later records join the batch.
        if (waiting_.size() > 1) return;
    }
    wake_.notify_one();
}

void SessionRecorder::writeLoop() {
    std::vector<session::Exchange> batch;
    std::string text;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            // Records that follow within the batch window go out with this one.
            wake_.wait_for(lock, kBatchWindow, [this] { return stopping_; });
            if (waiting_.empty()) return;
            batch.swap(waiting_);
        }
        text.clear();
        for (const session::Exchange& e : batch) text += session::encodeExchange(e);
        batch.clear();
        if (!writeAll(text)) {
            // The exchanges go on; only their record ends, and it says so once.
            std::fprintf(stderr, "ZelvoDLL: recording to %s stopped: %s\n", path_.c_str(),
                         std::strerror(errno));
            std::unique_lock lock(mutex_);
            while (!stopping_) {
                waiting_.clear();
                wake_.wait(lock);
            }
            return;
        }
    }
}

bool SessionRecorder::writeAll(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t n = ::write(descriptor_, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace zelvo::link
