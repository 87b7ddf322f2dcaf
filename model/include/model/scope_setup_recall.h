// Putting a saved setup back into an instrument: the plan of setting
// commands for the settings that differ from the instrument's present state,
// and the recall that sends them, uploads once and names each setting that
// did not take.  The window and the client both recall through RecallSetup;
// each binds the two things it needs, sending one setting and uploading the
// setting block, to its own way of reaching the instrument.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/scope_setup_file.h"

namespace oscilane {

// One setting command: set the setting at `place` in kSetupSettings, or,
// for a trigger-mode change on the way, the trigger mode, to `value`.
struct SetupChange {
    std::size_t place;
    int64_t value;
    const SetupSetting& setting() const { return kSetupSettings[place]; }
    bool operator==(const SetupChange&) const = default;
};

// The commands that make an instrument whose block reports `present` hold
// `saved`, in an order it accepts.  Some settings are set only in one kind
// of trigger mode: the common time base and the main pulse width outside ALT
// mode, CH1's ALT time base and both ALT pulse widths in it.  Those that the
// present mode takes come before the trigger-mode change, those the saved
// mode takes after it; when neither mode takes one, the plan passes through
// a mode that does and then sets the saved mode, so only then does the plan
// hold more commands than the settings that differ.  The sweep comes after
// the trigger settings and run/stop last, since choosing SINGLE arms a capture.
std::vector<SetupChange> PlanSetup(const SetupValues& saved, const SetupValues& present);

// How a recall reaches the instrument.
class SetupPort {
  public:
    virtual ~SetupPort() = default;
    // Sends one setting command; false when the instrument refused it.
    virtual bool send(const SetupChange& change) = 0;
    // Uploads the setting block; false when the upload failed.
    virtual bool upload(SettingBlock& block) = 0;
};

// A setting whose value after the recall is not the saved one.
struct SetupMiss {
    std::size_t place;
    int64_t saved;
    int64_t found;
    // "CH1.probe: saved 1, the instrument has 0".
    std::string text() const;
};

struct SetupRecallResult {
    int commandsSent = 0;
    int commandsRefused = 0;  // sent, but the instrument did not acknowledge them
    bool uploaded = false;    // false: nothing could be compared
    std::vector<SetupMiss> missed;
    bool ok() const { return uploaded && missed.empty(); }
};

// Sends the plan from `present` to `saved` through the port, uploads once
// into `block` and compares.  A refused command does not stop the recall:
// the comparison names whatever did not take.
SetupRecallResult RecallSetup(const SetupValues& saved, const SetupValues& present, SetupPort& port,
                              SettingBlock& block);

}  // namespace oscilane
