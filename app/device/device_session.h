// What one instrument function says over a window's connection: the scope,
// meter and generator each have a session that owns the function's data
// area, runs its worker pass and owns its command vocabulary, turning each
// queued command back into its library call.
// The connection (CDeviceLink) knows how to talk; the session what to say.
#pragma once

#include "device/link_settings.h"
#include "device/queued_command.h"

namespace oscilane {

class CDeviceLink;
class DeviceWorker;

// The worker's pauses, shared by every function's pass.
namespace pace {
// When it has nothing to do, or after a failed link check.
inline constexpr int kIdleMs = 150;
inline constexpr int kSettleMs = 50;
}  // namespace pace

class DeviceSession {
  public:
    virtual ~DeviceSession() = default;
    virtual DeviceFunction function() const = 0;
    // The link just opened (GUI thread, before the worker resumes).
    virtual void connected() {}
    // One pass of the worker: a cycle with its sleeps, connected or not.
    virtual void runPass(CDeviceLink& link, DeviceWorker& worker) = 0;
    // One queued command of this function as its library call; on the worker
    // thread, holding the event.  Kinds of other functions do nothing.
    virtual void execute(DeviceHandle handle, QueuedCommand command) = 0;
};

}  // namespace oscilane
