// The generator controls' rules: the range each parameter is kept in, the
// spin steps, the boxes each wave type uses and the switch to an "Arb" wave.
// Out-of-range input is never refused, only clamped; the window and the
// command-line client both take their values through these functions, so a
// parameter is limited the same way wherever it is entered.
#pragma once

#include <cstdint>

#include "model/generator_wave.h"

namespace oscilane {

// The lowest frequency: the smallest the Frequency box shows (three
// decimals).  Any sample count then gives a clock of at least 0.001 Hz, which
// the file's six decimals still hold, so the file loads back; a clock of 0
// would not.
inline constexpr double kMinFrequencyHz = 0.001;
inline constexpr double kMaxFrequencyHz = 75'000'000;
inline constexpr double kMaxArbitraryFrequencyHz = 25'000'000;  // also the AM/FM carrier's limit
inline constexpr double kMaxAmplitudeVolts = 3.5;
inline constexpr double kMaxOffsetVolts = 7;
inline constexpr double kOffsetSpinStepVolts = 1.0;
inline constexpr double kPhaseSpinStep = 0.1;

// Within 0.001 Hz ... 75 MHz, 25 MHz for an "Arb" wave.
double LimitFrequency(double hertz, WaveType type);
// At most 3.5 V; no lower limit.
double LimitAmplitude(double volts);
// Within -7 ... 7 V.
double LimitOffset(double volts);
// Within 0 ... 1: phase, the duties, tau (seconds) and depth.
double LimitFraction(double value);
// Within 0 ... 25 MHz.
double LimitHighFrequency(double hertz);
// Within 0 ... half the high frequency.
double LimitMaximumFrequency(double hertz, double highFrequency);

// The spins count the other way round from their boxes: a positive change
// lowers the value by one step, a negative one raises it; then the value is
// limited.  A change of 0 leaves the value as it is.
double OffsetAfterSpin(double volts, int change);
double PhaseAfterSpin(double phase, int change);

// The parameter boxes of the controls.
enum class GeneratorBox : uint16_t {
    Frequency = 1u << 0,
    Amplitude = 1u << 1,
    Offset = 1u << 2,
    Phase = 1u << 3,
    Duty = 1u << 4,  // the ramp duty of a Ramp, the square duty of a Square
    RiseDuty = 1u << 5,
    HighDuty = 1u << 6,
    FallDuty = 1u << 7,
    RiseFlag = 1u << 8,  // check box
    Tau = 1u << 9,
    HighFrequency = 1u << 10,
    Depth = 1u << 11,
    FmFlag = 1u << 12,  // check box
    MaximumFrequency = 1u << 13,
};

// A set of boxes, one bit per GeneratorBox.
struct GeneratorBoxes {
    uint16_t bits = 0;
    bool contains(GeneratorBox box) const { return (bits & static_cast<uint16_t>(box)) != 0; }
};

// The boxes shown for a wave type ("Sync Out" and "Power On" are always shown).
GeneratorBoxes BoxesForType(WaveType type);

// Limits a value entered in one of the numeric boxes by that box's rule and
// stores it in the wave; returns the value the box shows afterwards.  A duty
// is stored only for a Ramp or a Square.  The check boxes are not numeric and
// leave the wave unchanged.
double AcceptBoxValue(GeneratorWave& wave, GeneratorBox box, double value);

// What a switch to "Arb" does with a buffer that holds hand edits.
enum class EditedBuffer { Discard, Keep };

// Turns the wave into an "Arb" wave, its frequency limited to the "Arb"
// maximum.  Normally it starts from the current shape: the current type
// becomes the base type and the buffer is synthesized from it.  A buffer with
// hand edits (bufferEdited) kept by `edits` stays as it is, with the base type
// it started from.  Nothing happens to a wave that is already "Arb".
struct ArbitrarySwitch {
    bool switched = false;          // false when the wave was already "Arb"
    bool frequencyLimited = false;  // the frequency was lowered to the "Arb" maximum
};
ArbitrarySwitch SwitchToArbitrary(GeneratorWave& wave, EditedBuffer edits);

}  // namespace oscilane
