#include "model/generator_wave.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

namespace oscilane {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Volts to full-scale units.  The amplitude's factor is the single-precision
// constant and the product stays single precision; the offset's is double.
constexpr float kAmplitudeToLevel = 0.2857143f;
constexpr double kOffsetToLevel = 0.2857142857142857;

// The noise shapes are scaled for a generator that yields 0 ... 32767; the C
// library here may yield up to 2^31 - 1, so only its low 15 bits are used.
constexpr int kNoiseRange = 32768;

double noiseDraw() { return static_cast<double>(std::rand() % kNoiseRange); }

// The level of the shape at t with the given number of periods in the span.
double levelAt(const GeneratorWave& w, double t, double c) {
    const WaveType type = EvaluationType(w);
    if (static_cast<uint8_t>(type) > static_cast<uint8_t>(WaveType::NoiseWhite)) return 0;

    const double a = static_cast<double>(w.amplitude * kAmplitudeToLevel);
    const double o = w.offset * kOffsetToLevel;
    const double shifted = t + static_cast<double>(w.phase) / c;
    const double period = 1.0 / c;
    const double x = shifted - period * std::trunc(shifted / period);  // position in the period

    switch (type) {
        case WaveType::Sine:
            return std::sin(kTwoPi * c * shifted) * a + o;
        case WaveType::Ramp: {
            const double d = w.rampDuty;
            if (x < d / c) return (2 * x * c / d - 1) * a + o;
            return (1 - 2 * (x - d / c) * c / (1 - d)) * a + o;
        }
        case WaveType::Square:
            return x < static_cast<double>(w.squareDuty) / c ? a + o : o - a;
        case WaveType::Trapezia: {
            const double r = w.riseDuty;
            const double h = w.highDuty;
            const double f = w.fallDuty;
            if (x >= (r + h + f) / c) return o - a;
            if (x >= (r + h) / c) {
                double level = (1 - 2 * c * (x - (r + h) / c) / f) * a + o;
                // Plain comparisons rather than std::clamp: a negative
                // amplitude turns the bounds round.
                if (level < o - a) level = o - a;
                if (level > o + a) level = o + a;
                return level;
            }
            if (x >= r / c) return a + o;
            return (2 * x * c / r - 1) * a + o;
        }
        case WaveType::Dc:
            return o;
        case WaveType::Exponent: {
            if (w.tau == 0) return o;
            const double frequency = std::max(w.frequency, 1.0);
            const double u = c * x / (static_cast<double>(w.tau) * frequency);
            const double curve = w.riseFlag != 0 ? std::exp(-u) : 1 - std::exp(-u);
            return curve * a + o;
        }
        case WaveType::AmFm: {
            const double h = w.highFrequency;
            const double angle = kTwoPi * c * shifted;
            if (w.fmFlag == 0) {
                const double f = std::max(w.frequency, 1.0);
                const double m = w.depth;
                const double envelope = (m / 2) * std::sin(angle) + (1 - m / 2);
                return envelope * std::sin(angle * h / f) * a + o;
            }
            const double f = w.frequency == 0 ? 1.0 : w.frequency;
            return std::sin(angle * h / f + (w.maximumFrequency / f) * std::sin(angle)) * a + o;
        }
        case WaveType::NoiseGauss: {
            const double r1 = noiseDraw();
            const double r2 = noiseDraw();
            return (r2 / kNoiseRange) * std::sin(kTwoPi * r1 / kNoiseRange) * a;
        }
        case WaveType::NoiseWhite:
            return (noiseDraw() - kNoiseRange / 2) / (kNoiseRange / 2) * a;
        default:
            return 0;
    }
}

}  // namespace

std::string_view WaveTypeName(WaveType type) {
    switch (type) {
        case WaveType::Sine:
            return "Sine";
        case WaveType::Ramp:
            return "Ramp";
        case WaveType::Square:
            return "Square";
        case WaveType::Trapezia:
            return "Trapezia";
        case WaveType::Dc:
            return "DC";
        case WaveType::Exponent:
            return "Exponent";
        case WaveType::AmFm:
            return "AM/FM";
        case WaveType::NoiseGauss:
            return "Noise-Gause";
        case WaveType::NoiseWhite:
            return "Noise-White";
        case WaveType::Arbitrary:
            return "Arb";
        default:
            return {};
    }
}

WaveType EvaluationType(const GeneratorWave& wave) {
    return wave.waveType == WaveType::Arbitrary ? wave.baseType : wave.waveType;
}

double WaveValue(const GeneratorWave& wave, double t) {
    return levelAt(wave, t, static_cast<double>(wave.cycles));
}

void Synthesize(GeneratorWave& wave) {
    wave.samples.fill(0.0f);
    wave.totalPoints = wave.baseType == WaveType::AmFm
                           ? static_cast<uint16_t>(wave.cycles * wave.pointsPerCycle)
                           : wave.pointsPerCycle;
    // A divisor of 0 divides nothing rather than dividing by zero.
    const uint16_t divisor = std::max<uint16_t>(wave.pointDivisor, 1);
    const uint16_t count = static_cast<uint16_t>(
        std::min<std::size_t>(wave.totalPoints / divisor, kGeneratorBufferSize));
    wave.sampleCount = count;
    // The buffer holds the span at one period per "cycle": the fill evaluates
    // with cycles 1, leaving the stored cycles as they were.
    for (uint16_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / count;
        wave.samples[i] = static_cast<float>(levelAt(wave, t, 1.0) * kFullScaleVolts);
    }
    wave.bufferEdited = false;
}

std::optional<float> SampleVolts(double volts) {
    if (!std::isfinite(volts) || std::fabs(volts) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(volts);
}

}  // namespace oscilane
