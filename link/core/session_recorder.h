// Records every exchange on every link to a file, for a developer to replay
// without the instrument (docs/session-recording.md).  The exchange thread
// only hands its record over; one writer thread encodes and writes the
// records every fifth of a second, so a crash loses at most that much.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/exchange.h"
#include "protocol/frame.h"
#include "protocol/session_format.h"
#include "zelvo/zelvo_common.h"

namespace zelvo::link {

class SessionRecorder {
  public:
    using Clock = std::chrono::steady_clock;

    // Opens path for appending and writes the header line; none, with the
    // reason in error, when the file cannot be opened.
    static std::unique_ptr<SessionRecorder> open(const std::string& path, std::string& error);
    // Writes what it was given and not yet written, then closes the file.
    ~SessionRecorder();
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;

    // Hands over one finished exchange; safe from any thread.
    void add(DeviceHandle h, const RequestFrame& request, Outcome outcome, ReplyTrace trace,
             Clock::time_point began);

  private:
    SessionRecorder(int descriptor, std::string path);
    void writeLoop();
    bool writeAll(const std::string& text);

    int descriptor_;
    std::string path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<session::Exchange> waiting_;
    bool stopping_ = false;
    Clock::time_point previousBegan_{};
    std::thread writer_;
};

// The recorder ZELVO_RECORD named when the library loaded; none when it
// named nothing or a file that could not be opened (reported once on
// standard error, and the library works on unrecorded).
SessionRecorder* activeRecorder();

inline Outcome outcomeOf(Outcome o) { return o; }
inline Outcome outcomeOf(const GetResult& r) { return r.outcome; }

// Runs one exchange, run(ReplyTrace*), and hands it to recorder when there
// is one.  The result goes back to the caller as run gave it.
template <class Run>
auto recorded(SessionRecorder* recorder, DeviceHandle h, const RequestFrame& request, Run&& run) {
    if (!recorder) return run(nullptr);
    const auto began = SessionRecorder::Clock::now();
    ReplyTrace trace;
    auto result = run(&trace);
    recorder->add(h, request, outcomeOf(result), std::move(trace), began);
    return result;
}

}  // namespace zelvo::link
