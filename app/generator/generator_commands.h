// The generator's command vocabulary on the window's queue.  The session
// accepts these without reaching the instrument: the window designs
// waveforms and keeps them in files.
#pragma once

#include "device/queued_command.h"

namespace oscilane {

enum class GeneratorCommandKind : uint16_t {
    Changed = 32,    // any setting but the three below
    Frequency = 33,  // after a frequency change
    SyncOut = 34,    // the sync-out state
    PowerOn = 35,    // the power-on state
};

// `state` is that of Sync Out or Power On; the other kinds take none.
inline QueuedCommand generatorCommand(GeneratorCommandKind kind, bool state = false) {
    return {static_cast<uint16_t>(kind), state ? 1u : 0u};
}

}  // namespace oscilane
