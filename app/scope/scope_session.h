// The scope's session on a window's connection: the scope data area, the
// upload bookkeeping, the worker pass that uploads the setting block after
// the queued commands, and the command table of the scope's commands.
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <optional>

#include "device/device_session.h"
#include "model/scope_setup_recall.h"
#include "scope/scope_data.h"
#include "scope/upload_watch.h"

namespace oscilane {

class ScopeSession final : public DeviceSession {
  public:
    DeviceFunction function() const override { return DeviceFunction::Scope; }
    // Every connect uploads once, in single mode too.  A recall asked for
    // before is dropped, so nothing is sent unasked to whatever is connected now.
    void connected() override;
    void runPass(CDeviceLink& link, DeviceWorker& worker) override;
    // A command of scope/scope_commands.h.  Results are not examined: the
    // next upload shows what the instrument did.
    void execute(DeviceHandle h, QueuedCommand command) override;

    // Whoever holds the connection's event may touch it.
    ScopeData& data() { return data_; }
    // Any thread may use it.
    UploadWatch& uploads() { return uploads_; }

    // Asks the worker's next cycle to recall a setup, in place of its upload:
    // it uploads the present state, sends the commands of the settings that
    // differ, uploads once more into the uploaded block and calls `done` with
    // the outcome on the worker thread.  A later request replaces one not yet
    // run; a disconnect before it runs drops it without calling `done`.
    using RecallDone = std::function<void(const SetupRecallResult&)>;
    void recallSetup(const SetupValues& saved, RecallDone done);

  private:
    class SessionSetupPort;
    struct PendingRecall {
        SetupValues saved;
        RecallDone done;
    };
    // Runs a requested recall (worker thread); false when none was asked for.
    bool runRecall(CDeviceLink& link);

    // Uploads the setting block into the uploaded block (worker thread);
    // false when the upload failed.
    bool upload(CDeviceLink& link);

    ScopeData data_;
    UploadWatch uploads_;
    std::mutex recallMutex_;
    std::optional<PendingRecall> recall_;
};

// Sleeps after a scope cycle, in order: the automatic period is the update
// interval plus 160 ms.
std::array<int, 3> scopeCycleSleepsMs(uint16_t updateMode, uint16_t intervalIndex);

}  // namespace oscilane
