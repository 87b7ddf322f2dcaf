// Fixed texts of the scope window's data files, kept in one place; the
// texts every instrument window shares are in shell/save_texts.h.
#pragma once

namespace oscilane::scopefiletext {

// A CSV needs samples; a trace that is off has none.  %1 is the channel.
inline constexpr const char* kChannelOffNoCsv = "%1 is off: there are no samples to save as CSV.";

// The Save dialog's last channel: every trace in one CSV.
inline constexpr const char* kAllChannels = "All";
// An all-channel CSV needs at least one trace that is on.
inline constexpr const char* kNoChannelOn = "No channel is on: there are no samples to save.";
// The only filter the all-channel file is offered under, and its extension.
inline constexpr const char* kAllChannelsSuffix = "csv";

// Opening a capture file: its question (the menu item is shell/save_texts.h's;
// a file that is not a capture gets shell/message_texts.h's kCannotOpenFile
// with its name, the line and the reason).
inline constexpr const char* kOpenCaptureTitle = "Open Capture";
inline constexpr const char* kOpenCaptureFilters =
    "Capture Files (*.txt *.csv *.doc *.xls *.bmp);;All Files (*)";

// The setup file: the File menu's items, its dialogs and what a recall reports.
inline constexpr const char* kSaveSetupItem = "Save Setup...";
inline constexpr const char* kRecallSetupItem = "Recall Setup...";
inline constexpr const char* kSaveSetupTitle = "Save Setup";
inline constexpr const char* kRecallSetupTitle = "Recall Setup";
inline constexpr const char* kSetupFilter = "Setup File(*.setup)";
inline constexpr const char* kSetupSuffix = "setup";
// %1 is one line per setting: its name, the saved value and the one found.
inline constexpr const char* kSetupNotTaken = "These settings did not take:\n%1";
// A setup file chosen (File > Open, the recent files) while no connected
// scope window is the active one; %1 is its path.
inline constexpr const char* kRecallInScopeWindow =
    "%1 is a scope setup: recall it from a connected scope window.";
inline constexpr const char* kSetupNotUploaded =
    "The setup was sent, but the instrument's settings could not be read back.";

}  // namespace oscilane::scopefiletext
