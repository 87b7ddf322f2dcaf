// The first-in-first-out queue of instrument commands of one window.  The
// window's controls append on the GUI thread while the worker drains it, so
// every operation takes the queue's own lock.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>

#include "device/queued_command.h"

namespace oscilane {

class CommandQueue {
  public:
    // kNoCommand is what an empty queue pops, so it never enters the queue.
    void push(QueuedCommand command);
    // The head entry, or (kNoCommand, 0) when the queue is empty.
    QueuedCommand pop();
    void clear();
    std::size_t size() const;

  private:
    mutable std::mutex mutex_;
    std::deque<QueuedCommand> entries_;
};

}  // namespace oscilane
