// Every fixed text of the scope window: list entries, labels and messages.
#pragma once

#include <array>

namespace oscilane::scopetext {

// Time/DIV list: position p shows time-base index p + 2.
inline constexpr std::array<const char*, 36> kTimePerDivision = {
    "2.000ns", "5.000ns", "10.00ns", "20.00ns", "50.00ns", "100.0ns", "200.0ns", "500.0ns",
    "1.000us", "2.000us", "5.000us", "10.00us", "20.00us", "50.00us", "100.0us", "200.0us",
    "500.0us", "1.000ms", "2.000ms", "5.000ms", "10.00ms", "20.00ms", "50.00ms", "100.0ms",
    "200.0ms", "500.0ms", "1.000s",  "2.000s",  "5.000s",  "10.00s",  "20.00s",  "50.00s",
    "100.0s",  "200.0s",  "500.0s",  "1000s"};
inline constexpr int kTimeListIndexOffset = 2;

inline constexpr std::array<const char*, 3> kFormats = {"Y - T", "X - Y", "Roll"};
inline constexpr std::array<const char*, 3> kCouplings = {"AC", "DC", "GND"};
inline constexpr std::array<const char*, 4> kProbes = {"1X", "10X", "100X", "1000X"};
inline constexpr std::array<const char*, 3> kTriggerModes = {"Edge", "Pulse", "ALT"};
inline constexpr std::array<const char*, 2> kTriggerSources = {"CH1", "CH2"};
inline constexpr std::array<const char*, 2> kTriggerTypes = {"Edge", "Pulse"};
inline constexpr std::array<const char*, 3> kSweeps = {"AUTO", "NORMAL", "SINGLE"};
inline constexpr std::array<const char*, 2> kSlopes = {"+", "-"};
inline constexpr std::array<const char*, 6> kConditions = {"+Less", "+Equal", "+More",
                                                           "-Less", "-Equal", "-More"};
inline constexpr std::array<const char*, 2> kChannels = {"CH1", "CH2"};

// The display's status line: a shown time base after "M", the trigger after
// "T", an external trigger source, and whether acquisition runs or the
// instrument stopped answering.
inline constexpr const char* kStatusTimeBase = "M";
inline constexpr const char* kStatusTrigger = "T";
inline constexpr const char* kStatusAltTrigger = "ALT";
inline constexpr const char* kStatusExtSource = "EXT";
inline constexpr const char* kStatusUnknown = "?";
inline constexpr const char* kRunning = "RUN";
inline constexpr const char* kStopped = "STOP";
inline constexpr const char* kSingleRunning = "SINGLE";
inline constexpr const char* kLinkLost = "LINK LOST";

inline constexpr const char* kPanelCaption = "DSO Controller";
inline constexpr const char* kSlopeLabel = "Trigger Slope";
inline constexpr const char* kConditionLabel = "Condition";
inline constexpr const char* kInitialVolts = "1.00V";
inline constexpr const char* kLoadDefaultQuestion = "Do you want to load default setup?";
inline constexpr const char* kDeviceRemoved = "The Device was pulled out!";
inline constexpr const char* kAcquireData = "Acquire Data";

}  // namespace oscilane::scopetext
