// A setup's setting as the scope command that sets it, so a recall in the
// window goes through the scope's command vocabulary like every control.
#pragma once

#include "device/queued_command.h"
#include "model/scope_setup_recall.h"

namespace oscilane {

QueuedCommand setupCommand(const SetupChange& change);

}  // namespace oscilane
