// Where a control, knob, dialog or mouse drag sends a setting change: a
// command of its function's vocabulary as the queue carries it.  The device connection queues it
// for its worker thread, which makes the library call.
#pragma once

#include "device/queued_command.h"

namespace oscilane {

class CommandSink {
  public:
    virtual ~CommandSink() = default;
    virtual void Post(QueuedCommand command) = 0;
};

}  // namespace oscilane
