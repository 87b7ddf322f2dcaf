// The fixed texts of the meter window's display, controller bar and
// dialogs, spelled as users have always read them.
#pragma once

namespace oscilane::metertext {

inline constexpr const char* kControllerCaption = "DMM Controller";
inline constexpr const char* kAc = "AC";
inline constexpr const char* kDc = "DC";
inline constexpr const char* kAuto = "Auto";
inline constexpr const char* kManual = "Manual";
inline constexpr const char* kRel = "Rel";
inline constexpr const char* kRangeLabel = "Range";
inline constexpr const char* kTimeLabel = "Time";
inline constexpr const char* kBufferMode = "Buffer Mode";
inline constexpr const char* kStorageMode = "Storage Mode";
// Shown before the REL reference value.
inline constexpr const char* kRelMark = "\u2016\u2215\u25b3";

// Status texts of the display for a record no drawing case covers.
inline constexpr const char* kCannotDrawMode = "Can not draw DMM mode!";
inline constexpr const char* kCannotDrawAcDc = "Can not draw DMM AC/DC!";
// Status text while the digits show a reading the meter no longer sends.
inline constexpr const char* kStaleReading = "Stale reading: no new reading from the meter";

// The storage-log file dialog.
inline constexpr const char* kLogDialogTitle = "Save file";
inline constexpr const char* kLogDialogFilter = "Data File(*.doc);;All Files(*.*)";
inline constexpr const char* kLogDialogSuffix = "doc";

// The Data save fails.
inline constexpr const char* kCannotSaveData = "Cannot save the data file: ";

// The printed report's heading.
inline constexpr const char* kReportHeading = "Pirla - DMM";

// Beside the trend plot.
inline constexpr const char* kTrendMaximum = "max";
inline constexpr const char* kTrendMinimum = "min";
inline constexpr const char* kTrendMean = "mean";

}  // namespace oscilane::metertext
