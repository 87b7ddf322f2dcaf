// The command kinds windows post, each with the argument named in its
// comment (a kind without one takes its row's).  The windows' controls post
// them and the sessions' command tables turn each into one library call, both
// from this one list.  The numbers are the instrument windows' own and never
// change; kinds of one setting for several channels or trigger records stand
// in a row, and the helpers below pick one of them.
#pragma once

#include <cstdint>

namespace oscilane {

enum class CommandKind : uint16_t {
    None = 0,            // what an empty queue pops; never queued
    ChangeFunction = 1,  // function number, every window

    // Meter settings, in the meter table's order; the argument is the setting.
    MeterMeasureMode = 16,
    MeterVoltAcDc = 17,
    MeterVoltRel = 18,
    MeterVoltMode = 19,
    MeterVoltRange = 20,
    MeterCurrentAcDc = 21,
    MeterCurrentRel = 22,
    MeterCurrentMode = 23,
    MeterCurrentRange = 24,
    MeterCurrentAmA = 25,
    MeterOhmMode = 26,
    MeterOhmRange = 27,
    MeterOhmRel = 28,
    MeterCapRel = 29,

    // Generator changes; they reach no instrument.
    GeneratorChanged = 32,    // any setting but the three below
    GeneratorFrequency = 33,  // after a frequency change
    GeneratorSyncOut = 34,    // sync-out state
    GeneratorPowerOn = 35,    // power-on state

    RunStop = 48,            // 0: toggles the state the window shows
    AutoSetup = 49,          // 0
    DefaultSetup = 50,       // 0
    TimeBase = 51,           // time-base index, outside ALT trigger mode
    FftSource = 54,          // source index
    FftWindow = 55,          // window index
    FftScale = 56,           // scale index
    RefVoltsDown = 57,       // 0: one REF step to smaller volts/div; 58 larger
    RefVoltsUp = 58,         // 0
    Ch1Reset = 59,           // 0; 60 for CH2
    Ch2Reset = 60,           // 0
    HorizontalTrigger = 61,  // 0..300
    MathOperator = 62,       // operator index
    TriggerMode = 65,        // 0 Edge, 1 Pulse, 2 ALT
    HfReject = 66,           // 1 on, main trigger
    AltHfReject0 = 67,       // ALT channel 0
    AltHfReject1 = 68,       // ALT channel 1
    WriteTdc = 69,           // 0: writes the data area's two TDC values
    TriggerSource = 70,      // list position
    TriggerSweep = 71,       // list position
    EdgeSlope = 73,          // list position
    PulseCondition = 74,     // 0..5
    AltEdgeSlope0 = 76,      // list position, ALT channel 0
    AltEdgeSlope1 = 77,
    AltCondition0 = 78,  // 0..5, ALT channel 0
    AltCondition1 = 79,
    AltTimeBase0 = 82,  // time-base index of ALT channel 0
    AltTimeBase1 = 83,
    Format = 84,    // 0 Y-T, 1 X-Y, 2 Roll
    Ch1Shown = 85,  // 1 on
    Ch2Shown = 86,
    MathShown = 87,
    RefShown = 88,
    Ch1VoltsDown = 89,  // 0: one step to smaller volts/div
    Ch1VoltsUp = 90,    // 0: one step to larger volts/div
    Ch2VoltsDown = 91,
    Ch2VoltsUp = 92,
    MathVoltsDown = 93,
    MathVoltsUp = 94,
    Ch1Coupling = 95,  // coupling index
    Ch2Coupling = 96,
    Ch1Probe = 97,  // probe index
    Ch2Probe = 98,
    Ch1CoarseFine = 99,  // 0 coarse, 1 fine
    Ch2CoarseFine = 100,
    Ch1BwLimit = 101,  // 1 on
    Ch2BwLimit = 102,
    Ch1Invert = 103,  // 1 on
    Ch2Invert = 104,
    MathInvert = 105,
    MathCoarseFine = 106,  // 0 coarse, 1 fine
    MathProbe = 107,       // probe index
    MathSource0 = 108,     // source index of the first MATH operand
    MathSource1 = 109,     // of the second
    Ch1VoltsIndex = 110,   // volts index
    Ch2VoltsIndex = 111,
    PulseWidth = 112,  // units of 5 ns, main trigger
    AltPulseWidth0 = 113,
    AltPulseWidth1 = 114,
    AltType0 = 115,  // 0 Edge, 1 Pulse
    AltType1 = 116,
    Level50 = 117,  // 0: trigger level to 50 %, main trigger
    AltLevel50Channel0 = 118,
    AltLevel50Channel1 = 119,
    Ch1Position = 120,  // lever 0..199
    Ch2Position = 121,
    MathPosition = 122,
    RefPosition = 123,
    Ch1TriggerLevel = 124,  // 0..199
    Ch2TriggerLevel = 125,
    ExtTriggerLevel = 126,
    WriteWaveCalibration = 127,  // 0: writes the data area's calibration record
    Ch1Bw100M = 128,             // 1 on
    Ch2Bw100M = 129,
    EtsToggle = 130,  // 0: flips the instrument's ETS flag
};

namespace kind {

constexpr int number(CommandKind k) { return static_cast<int>(k); }
// The kind `k` places after `first` in its row.
constexpr CommandKind nth(CommandKind first, int k) {
    return static_cast<CommandKind>(number(first) + k);
}
// Where `k` stands in the row that starts at `first`, when it is one of its `count`.
constexpr bool inRow(CommandKind k, CommandKind first, int count) {
    return number(k) >= number(first) && number(k) < number(first) + count;
}
constexpr int placeInRow(CommandKind k, CommandKind first) { return number(k) - number(first); }

inline constexpr int kMeterKinds = 14;

// Channel rows: 0 CH1, 1 CH2, 2 MATH, 3 REF where the row has them.
constexpr CommandKind shown(int channel) { return nth(CommandKind::Ch1Shown, channel); }
constexpr CommandKind coupling(int channel) { return nth(CommandKind::Ch1Coupling, channel); }
constexpr CommandKind probe(int channel) { return nth(CommandKind::Ch1Probe, channel); }
constexpr CommandKind voltsIndex(int channel) { return nth(CommandKind::Ch1VoltsIndex, channel); }
constexpr CommandKind position(int channel) { return nth(CommandKind::Ch1Position, channel); }
constexpr CommandKind reset(int channel) { return nth(CommandKind::Ch1Reset, channel); }
// One volts-per-division step of CH1, CH2, MATH or REF, up to larger volts.
constexpr CommandKind voltsStep(int channel, bool up) {
    const CommandKind down =
        channel == 3 ? CommandKind::RefVoltsDown : nth(CommandKind::Ch1VoltsDown, 2 * channel);
    return nth(down, up ? 1 : 0);
}
// Trigger level of CH1, CH2 or EXT (source 0, 1, 2).
constexpr CommandKind triggerLevel(int source) { return nth(CommandKind::Ch1TriggerLevel, source); }
// The level markers 0..6 (four lever positions, three trigger levels) drop in one row.
constexpr CommandKind markerDrop(int marker) { return nth(CommandKind::Ch1Position, marker); }

// ALT trigger channel rows (0 or 1).
constexpr CommandKind altTimeBase(int alt) { return nth(CommandKind::AltTimeBase0, alt); }
constexpr CommandKind altType(int alt) { return nth(CommandKind::AltType0, alt); }
constexpr CommandKind altEdgeSlope(int alt) { return nth(CommandKind::AltEdgeSlope0, alt); }
constexpr CommandKind altCondition(int alt) { return nth(CommandKind::AltCondition0, alt); }
// Trigger record rows: the main trigger, then ALT channels 0 and 1.
constexpr CommandKind pulseWidth(int record) { return nth(CommandKind::PulseWidth, record); }

}  // namespace kind
}  // namespace oscilane
