// The command kinds the scope window posts, each with the argument named in
// its comment.  The device connection turns each kind into one library call.
#pragma once

namespace oscilane::kind {

inline constexpr int kRunStop = 48;         // 0
inline constexpr int kAutoSetup = 49;       // 0
inline constexpr int kDefaultSetup = 50;    // 0
inline constexpr int kTimeBase = 51;        // time-base index, outside ALT trigger mode
inline constexpr int kCh1Reset = 59;        // 0
inline constexpr int kCh2Reset = 60;        // 0
inline constexpr int kHorizontalTrigger = 61;  // 0..300
inline constexpr int kTriggerMode = 65;     // 0 Edge, 1 Pulse, 2 ALT
inline constexpr int kTriggerSource = 70;   // list position
inline constexpr int kTriggerSweep = 71;    // list position
inline constexpr int kEdgeSlope = 73;       // list position
inline constexpr int kPulseCondition = 74;  // 0..5
inline constexpr int kAltEdgeSlope0 = 76;   // ALT channel 0; 77 for channel 1
inline constexpr int kAltCondition0 = 78;   // ALT channel 0; 79 for channel 1
inline constexpr int kAltTimeBase0 = 82;    // time-base index of ALT channel 0; 83 for channel 1
inline constexpr int kFormat = 84;          // 0 Y-T, 1 X-Y, 2 Roll
inline constexpr int kCh1Shown = 85;        // 1 on; 86 for CH2
inline constexpr int kCh1VoltsDown = 89;    // 0: one step to smaller volts/div; 91 for CH2
inline constexpr int kCh1VoltsUp = 90;      // 0: one step to larger volts/div; 92 for CH2
inline constexpr int kCh1Coupling = 95;     // coupling index; 96 for CH2
inline constexpr int kCh1Probe = 97;        // probe index; 98 for CH2
inline constexpr int kCh1VoltsIndex = 110;  // volts index; 111 for CH2
inline constexpr int kPulseWidth = 112;     // units of 5 ns; 113 / 114 for ALT channel 0 / 1
inline constexpr int kAltType0 = 115;       // 0 Edge, 1 Pulse; 116 for ALT channel 1
inline constexpr int kCh1Position = 120;    // lever 0..199; 121 CH2, 122 MATH, 123 REF
inline constexpr int kCh1TriggerLevel = 124;  // 0..199; 125 CH2, 126 EXT

}  // namespace oscilane::kind
