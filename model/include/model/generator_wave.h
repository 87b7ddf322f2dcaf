// The generator's waveform design: the standard shapes evaluated at any point
// of their period, and the sample buffer filled from them that the CSV file
// stores and the arbitrary-waveform editor edits.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace oscilane {

// The shapes the generator offers.  Stored as a byte; values without a name
// below (7, and anything above 10) evaluate to 0.
enum class WaveType : uint8_t {
    Sine = 0,
    Ramp = 1,
    Square = 2,
    Trapezia = 3,
    Dc = 4,
    Exponent = 5,
    AmFm = 6,
    Zero = 7,  // no name on screen; every sample 0
    NoiseGauss = 8,
    NoiseWhite = 9,
    Arbitrary = 10,  // samples edited by hand; evaluation uses the base type
};

// The name the display shows ("Sine", "Noise-Gause", "Arb"); empty for type 7
// and for values outside the table.
std::string_view WaveTypeName(WaveType type);

// Capacity of the sample buffer.
inline constexpr std::size_t kGeneratorBufferSize = 4096;
// The level 1.0 of WaveValue stands for this many volts.
inline constexpr double kFullScaleVolts = 3.5;

// One waveform design.  The fields keep the order and defaults the document
// has always had; copying the object copies the whole design and buffer.
struct GeneratorWave {
    uint8_t syncOut = 0;                                // "Sync Out" box
    uint8_t powerOn = 0;                                // "Power On" box
    std::array<float, kGeneratorBufferSize> samples{};  // volts
    uint16_t sampleCount = 1000;                        // valid samples (N)
    uint16_t totalPoints = 1000;                        // points before the divisor
    uint16_t viewSpan = 250;                            // samples the editor shows at once
    float viewStart = 0.0f;                             // editor scroll position, 0 ... 1
    uint16_t pointsPerCycle = 1000;
    uint16_t pointDivisor = 1;
    double frequency = 1000.0;  // Hz
    WaveType waveType = WaveType::Sine;
    WaveType baseType = WaveType::Sine;  // the shape an "Arb" wave started from
    uint16_t cycles = 2;                 // periods in the panel preview; AM/FM size factor
    float amplitude = 2.0f;              // volts
    double offset = 0.0;                 // volts
    float rampDuty = 0.5f;               // fraction of the period rising
    float squareDuty = 0.5f;             // fraction of the period high
    float riseDuty = 0.2f;               // trapezium edges and top, fractions of the period
    float highDuty = 0.4f;
    float fallDuty = 0.2f;
    int32_t riseFlag = 1;              // exponent: nonzero decays from the top, 0 rises towards it
    float tau = 0.001f;                // exponent time constant, seconds
    int32_t fmFlag = 0;                // 0 amplitude modulation, nonzero frequency modulation
    float depth = 0.5f;                // AM depth, 0 ... 1
    double highFrequency = 10000.0;    // AM/FM carrier, Hz
    double maximumFrequency = 3000.0;  // FM peak deviation, Hz
    float phase = 0.0f;                // start phase, fraction of a period
    // The buffer holds samples drawn, typed or loaded since it was last
    // synthesized: work of the user's that a synthesis would throw away.
    bool bufferEdited = false;

    bool operator==(const GeneratorWave&) const = default;
};

// The type whose shape is evaluated: the wave type, or the base type of an
// "Arb" wave.
WaveType EvaluationType(const GeneratorWave& wave);

// The output level at position t (fraction of the whole span shown, which
// holds `cycles` periods) in units of full scale (1.0 = 3.5 V).  The noise
// shapes draw from the C library's rand().
double WaveValue(const GeneratorWave& wave, double t);

// Refills the buffer, the total points and the sample count from the shape
// and its parameters: one period (cycles periods for an AM/FM base) of the
// evaluation type, and clears bufferEdited.  Never writes or counts more than
// the buffer holds.
void Synthesize(GeneratorWave& wave);

// A voltage as a sample holds it: a finite number within the single-precision
// range; nothing for any other, which no float can stand for.
std::optional<float> SampleVolts(double volts);

}  // namespace oscilane
