#include "device/command_queue.h"

namespace oscilane {

void CommandQueue::push(QueuedCommand command) {
    if (command.empty()) return;
    std::lock_guard lock(mutex_);
    entries_.push_back(command);
}

QueuedCommand CommandQueue::pop() {
    std::lock_guard lock(mutex_);
    if (entries_.empty()) return {};
    const QueuedCommand head = entries_.front();
    entries_.pop_front();
    return head;
}

void CommandQueue::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

std::size_t CommandQueue::size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace oscilane
