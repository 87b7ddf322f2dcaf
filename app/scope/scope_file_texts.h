// Fixed texts of the scope window's data files, kept in one place; the
// texts every instrument window shares are in shell/save_texts.h.
#pragma once

namespace oscilane::scopefiletext {

// A CSV needs samples; a trace that is off has none.  %1 is the channel.
inline constexpr const char* kChannelOffNoCsv = "%1 is off: there are no samples to save as CSV.";

// The setup file: the File menu's items, its dialogs and what a recall reports.
inline constexpr const char* kSaveSetupItem = "Save Setup...";
inline constexpr const char* kRecallSetupItem = "Recall Setup...";
inline constexpr const char* kSaveSetupTitle = "Save Setup";
inline constexpr const char* kRecallSetupTitle = "Recall Setup";
inline constexpr const char* kSetupFilter = "Setup File(*.setup)";
inline constexpr const char* kSetupSuffix = "setup";
// %1 is one line per setting: its name, the saved value and the one found.
inline constexpr const char* kSetupNotTaken = "These settings did not take:\n%1";
inline constexpr const char* kSetupNotUploaded =
    "The setup was sent, but the instrument's settings could not be read back.";

}  // namespace oscilane::scopefiletext
