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

// Opening a capture file (the menu item is shell/save_texts.h's): its
// question, and the one line shown for a file that is not a capture (%1 the
// file's name, %2 the line and the reason).
inline constexpr const char* kOpenCaptureTitle = "Open Capture";
inline constexpr const char* kOpenCaptureFilters =
    "Capture Files (*.txt *.csv *.doc *.xls *.bmp);;All Files (*)";
inline constexpr const char* kCannotOpenFile = "Cann't open file: %1: %2";

}  // namespace oscilane::scopefiletext
