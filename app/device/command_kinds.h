// The command kinds windows post, each with the argument named in its
// comment.  The windows' controls post them and the worker's command table
// turns each into one library call, both from this one list.  Where a kind
// starts a group, the comment names the kinds that follow it.
#pragma once

namespace oscilane::kind {

inline constexpr int kChangeFunction = 1;  // function number, every window
inline constexpr int kFirstMeter = 16;     // meter settings 16..29, in the meter table's order

inline constexpr int kRunStop = 48;         // 0: toggles the state the window shows
inline constexpr int kAutoSetup = 49;       // 0
inline constexpr int kDefaultSetup = 50;    // 0
inline constexpr int kTimeBase = 51;        // time-base index, outside ALT trigger mode
inline constexpr int kFftSource = 54;       // source index
inline constexpr int kFftWindow = 55;       // window index
inline constexpr int kFftScale = 56;        // scale index
inline constexpr int kRefVoltsDown = 57;    // 0: one REF step to smaller volts/div; 58 larger
inline constexpr int kCh1Reset = 59;        // 0; 60 for CH2
inline constexpr int kCh2Reset = 60;        // 0
inline constexpr int kHorizontalTrigger = 61;  // 0..300
inline constexpr int kMathOperator = 62;    // operator index
inline constexpr int kTriggerMode = 65;     // 0 Edge, 1 Pulse, 2 ALT
inline constexpr int kHfReject = 66;        // main trigger; 67 / 68 for ALT channel 0 / 1
inline constexpr int kWriteTdc = 69;        // 0: writes the data area's two TDC values
inline constexpr int kTriggerSource = 70;   // list position
inline constexpr int kTriggerSweep = 71;    // list position
inline constexpr int kEdgeSlope = 73;       // list position
inline constexpr int kPulseCondition = 74;  // 0..5
inline constexpr int kAltEdgeSlope0 = 76;   // ALT channel 0; 77 for channel 1
inline constexpr int kAltCondition0 = 78;   // ALT channel 0; 79 for channel 1
inline constexpr int kAltTimeBase0 = 82;    // time-base index of ALT channel 0; 83 for channel 1
inline constexpr int kFormat = 84;          // 0 Y-T, 1 X-Y, 2 Roll
inline constexpr int kCh1Shown = 85;        // 1 on; 86 CH2, 87 MATH, 88 REF
inline constexpr int kCh1VoltsDown = 89;    // 0: one step to smaller volts/div; 91 for CH2
inline constexpr int kCh1VoltsUp = 90;      // 0: one step to larger volts/div; 92 for CH2
inline constexpr int kCh2VoltsDown = 91;    // 0: as for CH1; 92 larger
inline constexpr int kMathVoltsDown = 93;   // 0: one MATH step to smaller volts/div; 94 larger
inline constexpr int kCh1Coupling = 95;     // coupling index; 96 for CH2
inline constexpr int kCh1Probe = 97;        // probe index; 98 for CH2
inline constexpr int kCh1CoarseFine = 99;   // 0 coarse, 1 fine; 100 for CH2
inline constexpr int kCh1BwLimit = 101;     // 1 on; 102 for CH2
inline constexpr int kCh1Invert = 103;      // 1 on; 104 CH2, 105 MATH
inline constexpr int kMathCoarseFine = 106;  // 0 coarse, 1 fine
inline constexpr int kMathProbe = 107;      // probe index
inline constexpr int kMathSource0 = 108;    // first MATH source; 109 for the second
inline constexpr int kCh1VoltsIndex = 110;  // volts index; 111 for CH2
inline constexpr int kPulseWidth = 112;     // units of 5 ns; 113 / 114 for ALT channel 0 / 1
inline constexpr int kAltType0 = 115;       // 0 Edge, 1 Pulse; 116 for ALT channel 1
inline constexpr int kLevel50 = 117;        // 0: main trigger level to 50 %; 118 / 119 ALT 0 / 1
inline constexpr int kCh1Position = 120;    // lever 0..199; 121 CH2, 122 MATH, 123 REF
inline constexpr int kCh1TriggerLevel = 124;  // 0..199; 125 CH2, 126 EXT
inline constexpr int kWriteWaveCalibration = 127;  // 0: writes the data area's calibration record
inline constexpr int kCh1Bw100M = 128;      // 1 on; 129 for CH2
inline constexpr int kEtsToggle = 130;      // 0: flips the instrument's ETS flag

}  // namespace oscilane::kind
