// Where a control, knob, dialog or mouse drag sends a setting change: a
// numbered command kind and its argument.  The device connection queues it
// for its worker thread, which makes the library call.
#pragma once

#include <cstdint>

#include "device/command_kinds.h"

namespace oscilane {

class CommandSink {
  public:
    virtual ~CommandSink() = default;
    virtual void Post(CommandKind kind, int32_t argument) = 0;
};

}  // namespace oscilane
