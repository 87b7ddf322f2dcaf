// Every fixed text of the scope's cursors and of its Cursor, Setup and Cal
// Data dialogs.
#pragma once

#include <array>

namespace oscilane::tooltext {

// Cursor readouts.
inline constexpr const char* kNoTracePoint = "0.0V";  // trace cursor past the record
inline constexpr const char* kFrequency = "Frequency:";
inline constexpr const char* kTime = "Time:";
inline constexpr const char* kVoltage = "Voltage:";

// "Cursor" dialog.
inline constexpr const char* kCursorTitle = "Cursor";
inline constexpr const char* kChannelLabel = "Channel";
inline constexpr const char* kTypeGroup = "Type";
inline constexpr std::array<const char*, 3> kCursorChannels = {"CH1", "CH2", "MATH"};
inline constexpr std::array<const char*, 5> kCursorTypes = {"None", "Cross", "Trace", "Vertical",
                                                            "Horizontal"};

// "Setup" dialog.
inline constexpr const char* kCannotConnect = "Can not connect to device!";
inline constexpr const char* kSetupTitle = "Setup";
inline constexpr std::array<const char*, 5> kSetupTabs = {"CH1", "CH2", "MATH", "REF", "Trigger"};
inline constexpr const char* kVoltDiv = "VoltDIV";
inline constexpr const char* kCoarse = "Coarse";
inline constexpr const char* kFine = "Fine";
inline constexpr const char* kSetupGroup = "Setup";
inline constexpr const char* kBwLimit20M = "BW Limit 20M";
inline constexpr const char* kBwLimit100M = "BW Limit 100M";
inline constexpr const char* kInvert = "Invert";
inline constexpr const char* kLevelGroup = "Level";
inline constexpr const char* kReset = "Reset";
inline constexpr const char* kOnOff = "ON/OFF";
inline constexpr const char* kOperateGroup = "Operate";
inline constexpr const char* kSourceA = "Source A";
inline constexpr const char* kSourceB = "Source B";
inline constexpr const char* kOperator = "Operator";
inline constexpr const char* kFftGroup = "FFT Setup";
inline constexpr const char* kSource = "Source";
inline constexpr const char* kWindow = "Window";
inline constexpr const char* kScale = "Scale";
inline constexpr const char* kProbe = "Probe";
inline constexpr std::array<const char*, 2> kSources = {"CH1", "CH2"};
inline constexpr std::array<const char*, 5> kOperators = {"A + B", "A - B", "A x B", "A / B",
                                                          "FFT"};
inline constexpr std::array<const char*, 4> kFftWindows = {"Rectangle", "Hanning", "Hamming",
                                                           "Blackman"};
inline constexpr std::array<const char*, 2> kFftScales = {"Vrms", "dBVrms"};
inline constexpr std::array<const char*, 3> kTriggerGroups = {"Trigger", "ALT Trigger 1",
                                                              "ALT Trigger 2"};
inline constexpr const char* kHfRejection = "HF Rejection";
inline constexpr const char* kSetTo50 = "Set to 50%";

// "Cal Data" dialog.
inline constexpr const char* kCalTitle = "Cal Data";
inline constexpr const char* kWaveCalGroup = "Wave Cal Data";
inline constexpr std::array<const char*, 4> kRangeGroups = {"100mV,1V,10V", "20mV,200mV,2V",
                                                            "50mV,500mV,5V", "10mV"};
inline constexpr const char* kEtsCalGroup = "ETS Cal Data";
inline constexpr const char* kMaxCalData = "Max Cal Data";
inline constexpr const char* kMinCalData = "Min Cal Data";
inline constexpr const char* kOk = "OK";
// The "Update" button by the ETS update state: 0, 1, anything else.
inline constexpr const char* kEtsOff = "No Update!";
inline constexpr const char* kEtsOn = "Update!";
inline constexpr const char* kEtsUnknown = "Update";
// The instrument keeps each TDC value in 16 bits.
inline constexpr const char* kTdcOutOfRange = "Cal Data must be 0 to 65535!";
// The wave calibration lists: offsets 0 .. 10, then -1 .. -10.
inline constexpr int kWaveOffsetCount = 21;

}  // namespace oscilane::tooltext
