// The generator window's fixed texts: the controller bar's labels, the tool
// tips, the dialogs' titles and filters, and the formats of the plot's
// read-outs and parameter list.
#pragma once

namespace oscilane::gentext {

inline constexpr const char* kControllerCaption = "DDS Controller";

// A generator CSV chosen (File > Open, the recent files) while no generator
// window is the active one; %1 is its path.
inline constexpr const char* kOpenInGeneratorWindow =
    "%1 is a generator waveform: open it from a generator window.";

// Controller bar: the label before each box and the unit or range after it.
inline constexpr const char* kFrequency = "Frequency";
inline constexpr const char* kFrequencyUnit = "Hz (0.001 ~ 75MHz)";
inline constexpr const char* kAmplitude = "Amplitude";
inline constexpr const char* kAmplitudeUnit = "V   (0 ~ 3.5V )";
inline constexpr const char* kOffset = "Y Offset";
inline constexpr const char* kOffsetUnit = "V   (-7  ~ 7V )";
inline constexpr const char* kPhase = "Phase";
inline constexpr const char* kFractionRange = "( 0.0 ~ 1.0)";
inline constexpr const char* kDuty = "Duty";
inline constexpr const char* kRiseDuty = "Rise Duty";
inline constexpr const char* kHighDuty = "High Duty";
inline constexpr const char* kFallDuty = "Fall Duty";
inline constexpr const char* kRise = "Rise";
inline constexpr const char* kTau = " tao";
inline constexpr const char* kSeconds = "S";
inline constexpr const char* kHighFrequency = "High Frequency";
inline constexpr const char* kHertz = "Hz";
inline constexpr const char* kDepth = "Depth";
inline constexpr const char* kFm = "FM";
inline constexpr const char* kMaximumFrequency = "Maximum Frequency";
inline constexpr const char* kSyncOut = "Sync Out";
inline constexpr const char* kPowerOn = "Power On";

// Tool tips of the tool bar.
inline constexpr const char* kTipArbitrary = "Arbitrary Waveform Edit";
inline constexpr const char* kTipGrid = "Show/Hide the grid";
inline constexpr const char* kTipBestFit = "Best fit";
inline constexpr const char* kTipSave = "Save DDS data";
inline constexpr const char* kTipOpenCsv = "Open DDS CSV File";
inline constexpr const char* kTipZoomIn = "Arb wave zoom in";
inline constexpr const char* kTipZoomOut = "Arb wave zoom out";

// The printed report's heading.
inline constexpr const char* kReportHeading = "Pirla - DDS";

// File dialogs and the File menu's items.
inline constexpr const char* kSaveCsvTitle = "Save Data As CSV...";
inline constexpr const char* kOpenCsvTitle = "Load CSV File...";
inline constexpr const char* kCsvFilter = "CSV File(*.csv)";
inline constexpr const char* kSaveCsvItem = "Save CSV";
inline constexpr const char* kOpenCsvItem = "Open CSV";

// Message boxes.
inline constexpr const char* kNotCsvName = "Generator data files end in \".csv\".";
inline constexpr const char* kDiscardEdits = "Discard the edited waveform?";

// "Edit Point" dialog.
inline constexpr const char* kEditPointTitle = "Edit Point";
inline constexpr const char* kPointIndex = "Point Index";
inline constexpr const char* kZeroBased = "( Zero-based )";
inline constexpr const char* kVoltage = "Voltage :";
inline constexpr const char* kVolts = "V";
inline constexpr const char* kUpdate = "Update";

// Plot read-outs (printf formats, C locale).
inline constexpr const char* kFrequencyReadout = "Frequency: %.3lf Hz";
inline constexpr const char* kPeakToPeakLabel = "V(Pk to Pk): ";
inline constexpr const char* kPeakToPeakValue = "%.3lf V";
inline constexpr const char* kCursorReadout = "%.3fV %s %d";
inline constexpr const char* kAtPoint = "At Point";
inline constexpr const char* kReadoutFont = "Arial";
inline constexpr int kReadoutFontPixels = 15;

// Parameter list under the plot.
inline constexpr const char* kListFrequency = "Frequency: %.3lf Hz";
inline constexpr const char* kListAmplitude = "Amplitude(Vpp): %.3lf V";
inline constexpr const char* kListOffset = "Y-Offset: %.3lf V";
inline constexpr const char* kListPhase = "Phase: %.1lf";
inline constexpr const char* kListDuty = "Duty: %.1lf";
inline constexpr const char* kListRiseDuty = "Rise Duty: %.1lf";
inline constexpr const char* kListFallDuty = "Fall Duty: %.1lf";
inline constexpr const char* kListHighDuty = "High Duty: %.1lf";
inline constexpr const char* kListTau = "\u03c4: %.1lf";
inline constexpr const char* kListRise = "Rise?: %s";
inline constexpr const char* kListRiseYes = "Yes";
inline constexpr const char* kListHighFrequency = "High Frequency: %0.3lf Hz";
inline constexpr const char* kListDepth = "Depth: %0.1lf";
inline constexpr const char* kListFmFlag = "FM?: %s";
inline constexpr const char* kListFmYes = "YES";
inline constexpr const char* kListNo = "NO";
inline constexpr const char* kListMaximumFrequency = "Maximum Frequency: %0.3lf Hz";

}  // namespace oscilane::gentext
