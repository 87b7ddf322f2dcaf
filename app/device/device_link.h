// The connection of one instrument window (scope, meter or generator): the
// user's choice of transport and device, the link's state flags, the command
// queue the window's controls post to, the worker that drains it, the worker
// event and the data areas the worker fills.
//
// Threads.  The GUI thread posts commands, connects and disconnects, and
// reads the data areas while it holds the event.  The worker is the only
// caller of the link library for this link while connected; it holds the
// event for a whole cycle.  Settings are read and written under a lock of
// their own, so the Option dialog can apply new ones at any time.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "device/auto_reset_event.h"
#include "device/command_queue.h"
#include "device/command_sink.h"
#include "device/link_settings.h"
#include "device/meter_readings.h"
#include "scope/scope_data.h"

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
    DeviceFunction function() const { return function_.load(); }
    void setFunction(DeviceFunction function) { function_.store(function); }

    // Creates the worker, parked, for the window's function (the view does
    // this once); Connect resumes it.
    void startWorker(DeviceFunction function);
    // Disconnects and ends the worker; the window does this when it goes.
    void endWorker();
    bool hasWorker() const { return worker_ != nullptr; }

    // 1 when the link is open, 0 after telling the user why not.
    int Connect(DeviceFunction function);
    // 1 when a link was open; it is closed once the worker is parked.
    int Disconnect();
    // 1 when the instrument still answers.
    int CheckLink();
    // Queues a command for the worker; kind 0 is ignored.
    void Post(int kind, int32_t argument) override;
    QueuedCommand Pop() { return queue_.pop(); }
    void ClearQueue() { queue_.clear(); }
    std::size_t pendingCommands() const { return queue_.size(); }
    // Performs one command of the window's function (worker thread).
    void Execute(uint32_t kind, uint32_t argument);
    // Uploads the setting block into the uploaded block (worker thread).
    void UploadScope();

    // State the window reads.
    bool isConnected() const { return connected_.load(); }
    bool linkLost() const { return linkLost_.load(); }
    bool slowUpload() const { return slowUpload_.load(); }
    // How far the running block read has come, 0..100; 0 when none runs.
    // Any thread may ask while the worker reads.
    int uploadPercent() const;
    bool uploadRequested() const { return uploadRequested_.load(); }
    // The window's "Upate Data" command: one upload in single mode.
    void requestUpload() { uploadRequested_.store(true); }
    // True once after each upload attempt (the scope view's timer clears it).
    bool takeNewData() { return newData_.exchange(false); }

    // Whoever holds the event may touch the data areas below.
    AutoResetEvent& event() { return event_; }
    ScopeData& scopeData() { return scopeData_; }
    MeterReadings& meterReadings() { return meterReadings_; }

  private:
    void runPass(DeviceWorker& worker);
    // The opening every scope and meter cycle shares: drop the queue while
    // disconnected, take the event, check the link (dropping the queue when it
    // is lost) and send the queued commands.  True when the cycle may go on,
    // holding the event.
    bool beginCycle(DeviceWorker& worker, bool settleAfterLinkLoss);
    void scopePass(DeviceWorker& worker);
    void meterPass(DeviceWorker& worker);
    void generatorPass(DeviceWorker& worker);
    void executeScope(DeviceHandle h, uint32_t kind, uint32_t argument);
    void executeMeter(DeviceHandle h, uint32_t kind, uint32_t argument);
    void drainQueue();
    DeviceHandle handle() const;

    mutable std::mutex settingsMutex_;
    LinkSettings settings_;
    std::atomic<DeviceFunction> function_{DeviceFunction::Scope};

    std::atomic<bool> connected_{false};
    std::atomic<bool> uploadRequested_{false};
    std::atomic<bool> linkLost_{false};
    std::atomic<bool> slowUpload_{false};
    std::atomic<bool> newData_{false};

    CommandQueue queue_;
    AutoResetEvent event_{true};
    ScopeData scopeData_;
    MeterReadings meterReadings_;
    // Last: the worker uses everything above, so it goes first.
    std::unique_ptr<DeviceWorker> worker_;
};

// Sleeps after a scope cycle, in order: the automatic period is the update
// interval plus 160 ms.
std::array<int, 3> scopeCycleSleepsMs(uint16_t updateMode, uint16_t intervalIndex);

}  // namespace oscilane
