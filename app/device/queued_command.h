// A command as a window's queue carries it: the number of one of its
// function's commands and the argument.  Each function's session owns its
// vocabulary (scope/scope_commands.h, the model's MeterCommandKind,
// generator/generator_session.h), builds these with typed arguments and turns
// them back into library calls; the connection knows only the two numbers
// below.  The numbers are the instrument windows' own and never change.
#pragma once

#include <cstdint>

namespace oscilane {

// What an empty queue pops; never queued.
inline constexpr uint16_t kNoCommand = 0;
// Selects the instrument's function; the argument is the function number.
inline constexpr uint16_t kChangeFunctionCommand = 1;

struct QueuedCommand {
    uint16_t kind = kNoCommand;
    uint32_t argument = 0;
    bool empty() const { return kind == kNoCommand; }
    friend bool operator==(const QueuedCommand&, const QueuedCommand&) = default;
};

}  // namespace oscilane
