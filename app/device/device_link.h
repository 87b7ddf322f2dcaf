// The connection of one instrument window (scope, meter or generator): the
// user's choice of transport and device, the link's state flags, the command
// queue the window's controls post to, the worker that drains it and the
// worker event.  What the window's function says over it, and the data the
// worker fills, belong to the function's session (device_session.h).
//
// Threads.  The GUI thread posts commands, connects and disconnects, and
// reads the session's data while it holds the event.  The worker is the only
// caller of the link library for this link while connected; it holds the
// event for a whole cycle.  Settings are read and written under a lock of
// their own, so the Option dialog can apply new ones at any time.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "device/auto_reset_event.h"
#include "device/command_queue.h"
#include "device/command_sink.h"
#include "device/device_session.h"
#include "device/link_settings.h"

namespace oscilane {

class DeviceWorker;

class CDeviceLink final : public CommandSink {
  public:
    CDeviceLink();
    // Disconnects and ends the worker, between two of its cycles.
    ~CDeviceLink() override;
    CDeviceLink(const CDeviceLink&) = delete;
    CDeviceLink& operator=(const CDeviceLink&) = delete;

    LinkSettings settings() const;
    // Takes the user's new choice.  While connected, only the update mode and
    // interval change: the open link keeps its transport and device.
    void applySettings(const LinkSettings& settings);

    // The window's session; the window's document hands it over once,
    // before the worker starts.  Returns it for the window to keep using.
    template <class Session>
    Session& adoptSession(std::unique_ptr<Session> session) {
        Session& kept = *session;
        setSession(std::move(session));
        return kept;
    }
    DeviceSession* session() const { return session_.get(); }
    // The function of the session; none until a session is given.
    std::optional<DeviceFunction> function() const;

    // Creates the worker, parked, for the session (the view does this once);
    // Connect resumes it.
    void startWorker();
    // Disconnects and ends the worker; the window does this when it goes.
    void endWorker();
    bool hasWorker() const { return worker_ != nullptr; }

    // 1 when the link is open, 0 after telling the user why not.  The link
    // selects the session's function and tells the session it connected.
    int Connect();
    // 1 when a link was open; it is closed once the worker is parked.
    int Disconnect();
    // 1 when the instrument still answers.
    int CheckLink();
    // Queues a command for the worker; an empty one is ignored.
    void Post(QueuedCommand command) override;
    QueuedCommand Pop() { return queue_.pop(); }
    void ClearQueue() { queue_.clear(); }
    std::size_t pendingCommands() const { return queue_.size(); }
    // Performs one command (worker thread): the function change here, every
    // other kind through the session.
    void Execute(QueuedCommand command);
    // Performs every queued command in posting order (worker thread).
    void drainQueue();

    // The opening every cycle of a pass shares: drop the queue while
    // disconnected, take the event, check the link (dropping the queue when it
    // is lost) and send the queued commands.  True when the cycle may go on,
    // holding the event.
    bool beginCycle(DeviceWorker& worker, bool settleAfterLinkLoss);
    // The handle every library call of this link takes.
    DeviceHandle handle() const;

    // State the window reads.
    bool isConnected() const { return connected_.load(); }
    bool linkLost() const { return linkLost_.load(); }

    // Whoever holds the event may touch the session's data.
    AutoResetEvent& event() { return event_; }

  private:
    void setSession(std::unique_ptr<DeviceSession> session);
    // Opens the instrument of the settings and marks it in use in the
    // process-wide tables (a LAN window takes a free slot, recorded in the
    // settings); none after telling the user why not.
    std::optional<LinkSettings> openClaimed(LinkSettings settings);
    void runPass(DeviceWorker& worker);

    mutable std::mutex settingsMutex_;
    LinkSettings settings_;

    std::atomic<bool> connected_{false};
    std::atomic<bool> linkLost_{false};

    CommandQueue queue_;
    AutoResetEvent event_{true};
    std::unique_ptr<DeviceSession> session_;
    // Last: the worker uses everything above, so it goes first.
    std::unique_ptr<DeviceWorker> worker_;
};

}  // namespace oscilane
