#include "model/generator_limits.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace oscilane {
namespace {

// Upper bound first, then lower, as plain comparisons: with bounds that cross
// (a negative high frequency) the lower one wins, and no ordering is assumed.
double limited(double value, double lowest, double highest) {
    if (value > highest) value = highest;
    if (value < lowest) value = lowest;
    return value;
}

double afterSpin(double value, int change, double step) {
    if (change > 0) return value - step;
    if (change < 0) return value + step;
    return value;
}

uint16_t bitsOf(std::initializer_list<GeneratorBox> boxes) {
    uint16_t bits = 0;
    for (GeneratorBox box : boxes) bits = static_cast<uint16_t>(bits | static_cast<uint16_t>(box));
    return bits;
}

}  // namespace

double LimitFrequency(double hertz, WaveType type) {
    const double highest = type == WaveType::Arbitrary ? kMaxArbitraryFrequencyHz : kMaxFrequencyHz;
    return limited(hertz, kMinFrequencyHz, highest);
}

double LimitAmplitude(double volts) {
    return volts > kMaxAmplitudeVolts ? kMaxAmplitudeVolts : volts;
}

double LimitOffset(double volts) { return limited(volts, -kMaxOffsetVolts, kMaxOffsetVolts); }

double LimitFraction(double value) { return limited(value, 0, 1); }

double LimitHighFrequency(double hertz) { return limited(hertz, 0, kMaxArbitraryFrequencyHz); }

double LimitMaximumFrequency(double hertz, double highFrequency) {
    return limited(hertz, 0, highFrequency / 2);
}

double OffsetAfterSpin(double volts, int change) {
    return LimitOffset(afterSpin(volts, change, kOffsetSpinStepVolts));
}

double PhaseAfterSpin(double phase, int change) {
    return LimitFraction(afterSpin(phase, change, kPhaseSpinStep));
}

GeneratorBoxes BoxesForType(WaveType type) {
    using B = GeneratorBox;
    const uint16_t sine = bitsOf({B::Frequency, B::Amplitude, B::Offset, B::Phase});
    switch (type) {
        case WaveType::Sine:
            return {sine};
        case WaveType::Ramp:
        case WaveType::Square:
            return {static_cast<uint16_t>(sine | bitsOf({B::Duty}))};
        case WaveType::Trapezia:
            return {static_cast<uint16_t>(sine | bitsOf({B::RiseDuty, B::HighDuty, B::FallDuty}))};
        case WaveType::Dc:
            return {bitsOf({B::Offset})};
        case WaveType::Exponent:
            return {static_cast<uint16_t>(sine | bitsOf({B::RiseFlag, B::Tau}))};
        case WaveType::AmFm:
            return {static_cast<uint16_t>(
                sine | bitsOf({B::FmFlag, B::HighFrequency, B::Depth, B::MaximumFrequency}))};
        case WaveType::NoiseGauss:
        case WaveType::NoiseWhite:
            return {bitsOf({B::Amplitude})};
        case WaveType::Arbitrary:
            return {bitsOf({B::Frequency})};
        default:
            return {};
    }
}

double AcceptBoxValue(GeneratorWave& wave, GeneratorBox box, double value) {
    switch (box) {
        case GeneratorBox::Frequency:
            value = LimitFrequency(value, wave.waveType);
            wave.frequency = value;
            break;
        case GeneratorBox::Amplitude:
            // No lower limit, but the stored amplitude is single precision.
            value = std::max(LimitAmplitude(value),
                             static_cast<double>(std::numeric_limits<float>::lowest()));
            wave.amplitude = static_cast<float>(value);
            break;
        case GeneratorBox::Offset:
            value = LimitOffset(value);
            wave.offset = value;
            break;
        case GeneratorBox::Phase:
            value = LimitFraction(value);
            wave.phase = static_cast<float>(value);
            break;
        case GeneratorBox::Duty:
            value = LimitFraction(value);
            if (wave.waveType == WaveType::Ramp) wave.rampDuty = static_cast<float>(value);
            if (wave.waveType == WaveType::Square) wave.squareDuty = static_cast<float>(value);
            break;
        case GeneratorBox::RiseDuty:
            value = LimitFraction(value);
            wave.riseDuty = static_cast<float>(value);
            break;
        case GeneratorBox::HighDuty:
            value = LimitFraction(value);
            wave.highDuty = static_cast<float>(value);
            break;
        case GeneratorBox::FallDuty:
            value = LimitFraction(value);
            wave.fallDuty = static_cast<float>(value);
            break;
        case GeneratorBox::Tau:
            value = LimitFraction(value);
            wave.tau = static_cast<float>(value);
            break;
        case GeneratorBox::Depth:
            value = LimitFraction(value);
            wave.depth = static_cast<float>(value);
            break;
        case GeneratorBox::HighFrequency:
            value = LimitHighFrequency(value);
            wave.highFrequency = value;
            break;
        case GeneratorBox::MaximumFrequency:
            value = LimitMaximumFrequency(value, wave.highFrequency);
            wave.maximumFrequency = value;
            break;
        case GeneratorBox::RiseFlag:
        case GeneratorBox::FmFlag:
            break;
    }
    return value;
}

ArbitrarySwitch SwitchToArbitrary(GeneratorWave& wave, EditedBuffer edits) {
    if (wave.waveType == WaveType::Arbitrary) return {};
    ArbitrarySwitch result{.switched = true};
    const bool keep = wave.bufferEdited && edits == EditedBuffer::Keep;
    if (!keep) wave.baseType = wave.waveType;
    wave.waveType = WaveType::Arbitrary;
    if (wave.frequency > kMaxArbitraryFrequencyHz) {
        wave.frequency = kMaxArbitraryFrequencyHz;
        result.frequencyLimited = true;
    }
    if (!keep) Synthesize(wave);
    return result;
}

}  // namespace oscilane
