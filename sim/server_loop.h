// What the servers' poll loops share: the thread a loop runs on, and the
// poll() time-out that wakes a loop when its next piece of work is due.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace zelvo::sim {

// Runs a server's loop on a thread of its own.  The loop polls
// wakeDescriptor() beside its own descriptors and returns as soon as that
// turns readable; stop() makes it readable, joins the thread and clears it
// again, so the server can be started anew.
class ServerThread {
  public:
    // Creates the wake descriptor; throws std::system_error when that fails.
    ServerThread();
    ~ServerThread();
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;

    // Starts loop on the thread unless a loop is running already.
    void start(std::function<void()> loop);
    void stop();
    int wakeDescriptor() const { return wake_; }

  private:
    int wake_ = -1;
    std::thread thread_;
};

// Milliseconds for poll() to wait from now until due, rounded up so the loop
// never wakes early, and never negative; -1 (no time-out) when due is
// time_point::max(), which stands for "nothing is due".
int pollTimeoutUntil(std::chrono::steady_clock::time_point due,
                     std::chrono::steady_clock::time_point now);

}  // namespace zelvo::sim
