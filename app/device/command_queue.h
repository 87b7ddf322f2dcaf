// The first-in-first-out queue of instrument commands of one window.  The
// window's controls append on the GUI thread while the worker drains it, so
// every operation takes the queue's own lock.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>

namespace oscilane {

struct QueuedCommand {
    uint32_t kind = 0;
    uint32_t argument = 0;
    bool empty() const { return kind == 0; }
    friend bool operator==(const QueuedCommand&, const QueuedCommand&) = default;
};

class CommandQueue {
  public:
    // Kind 0 is what an empty queue pops, so it never enters the queue.
    void push(QueuedCommand command);
    // The head entry, or (0, 0) when the queue is empty.
    QueuedCommand pop();
    void clear();
    std::size_t size() const;

  private:
    mutable std::mutex mutex_;
    std::deque<QueuedCommand> entries_;
};

}  // namespace oscilane
