// Fixed texts of the scope window's data files and its history of
// acquisitions, kept in one place; the texts every instrument window shares
// are in shell/save_texts.h.
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

// The history bar's button back to the newest acquisition.
inline constexpr const char* kLive = "Live";
// The File menu's item and its save-file dialog: a CSV holds every kept
// block, any other data file the chosen block's trace.
inline constexpr const char* kSaveHistoryItem = "Save History...";
inline constexpr const char* kSaveHistoryTitle = "Save History As...";
inline constexpr const char* kHistoryCsvSuffix = "csv";
// Which trace of the chosen block a data file holds.
inline constexpr const char* kHistoryChannelTitle = "Save History";
inline constexpr const char* kHistoryChannelLabel = "Trace of the chosen block:";

// Saved traces over the live ones: the File menu's items, the open-file
// dialog's title (its filters are Open Capture's), and the refusal of a fifth.
inline constexpr const char* kOverlayItem = "Overlay...";
inline constexpr const char* kClearOverlaysItem = "Clear Overlays";
inline constexpr const char* kOverlayTitle = "Overlay";
inline constexpr const char* kOverlaysFull = "At most four overlays: clear them to add another.";

}  // namespace oscilane::scopefiletext
