// The meter's command vocabulary on the window's queue: the model's
// MeterCommand (model/meter_controls.h), whose kind numbers are the queue's.
// The session (meter_session.cpp) turns each back into its library call.
#pragma once

#include "device/queued_command.h"
#include "model/meter_controls.h"

namespace oscilane {

inline QueuedCommand queued(const MeterCommand& command) {
    return {static_cast<uint16_t>(command.kind), command.argument};
}

}  // namespace oscilane
