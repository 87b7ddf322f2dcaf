#include "scope_acquisition.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "fft.h"
#include "protocol/byte_order.h"
#include "protocol/half_word_swap.h"
#include "zelvo/scope_tables.h"

namespace zelvo::sim {
namespace {

namespace L = layout;
constexpr std::size_t kSamples = L::kSamplesPerTrace;
constexpr std::array<double, 7> kDbPerDivision = {1, 2, 5, 10, 20, 50, 100};

// Sample code of lever position p: 255 at the top (0) down to 0 at the bottom (199).
double leverCode(int position) { return 255.0 - position * 255.0 / tables::kLeverMax; }

double voltsPerDivision(const ChannelState& c) {
    return tables::kMillivoltsPerDivision[std::clamp<int>(c.voltsIndex, 0, 13)] / 1000.0 *
           tables::kProbeFactor[c.probe & 3];
}

double codeOf(const ChannelState& c, double volts) {
    return leverCode(c.position) + volts / voltsPerDivision(c) * tables::kCodesPerDivision;
}

int16_t quantised(double code) { return static_cast<int16_t>(std::clamp(code, 0.0, 255.0)); }

// The voltage the channel shows: coupling removes the DC part (AC) or the whole
// signal (GND); invert turns it over.
double shownVolts(const ScopeState& s, const InputSignals& in, int channel, double t) {
    const ChannelState& c = s.channels[channel];
    double v = c.coupling == Coupling::Gnd ? 0.0 : in.volts(channel, t);
    if (c.coupling == Coupling::Ac) v -= in.offset(channel);
    return c.invert ? -v : v;
}

// Deterministic noise in -1..1, different for every sample, channel and frame.
double noise(uint32_t frame, std::size_t i, int channel) {
    uint32_t x = frame * 2654435761u ^ static_cast<uint32_t>(i * 40503u + channel * 977u);
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return (static_cast<double>(x & 0xFFFF) / 65535.0 - 0.5) * 2.0;
}

// The first time within one period of the source's signal at which it crosses
// the level in the slope's direction.
std::optional<double> triggerTime(const ScopeState& s, const InputSignals& in, int source,
                                  double level, bool rising) {
    const double period = 1.0 / in.frequency(source);
    constexpr int kSteps = 4000;
    // Start just before 0 so a crossing exactly at 0 is found.
    double previous = shownVolts(s, in, source, -period / kSteps);
    for (int k = 0; k < kSteps; ++k) {
        const double t = period * k / kSteps;
        const double v = shownVolts(s, in, source, t);
        const bool crossed =
            rising ? (previous < level && v >= level) : (previous > level && v <= level);
        if (crossed) {
            const double fraction = v == previous ? 0 : (level - previous) / (v - previous);
            return t - period / kSteps * (1 - fraction);
        }
        previous = v;
    }
    return std::nullopt;
}

void storeChannelRecord(std::span<uint8_t> block, std::size_t at, const ChannelState& c,
                        int16_t altTimeBase) {
    namespace ch = L::channel;
    storeLe16(block, at + ch::kShown, static_cast<uint16_t>(c.shown));
    storeLe16(block, at + ch::kVoltsIndex, static_cast<uint16_t>(c.voltsIndex));
    storeLe16(block, at + ch::kCoupling, static_cast<uint16_t>(c.coupling));
    storeLe16(block, at + ch::kProbe, static_cast<uint16_t>(c.probe));
    storeLe16(block, at + ch::kInvert, static_cast<uint16_t>(c.invert));
    storeLe16(block, at + ch::kBandwidth20M, static_cast<uint16_t>(c.bandwidth20M));
    storeLe16(block, at + ch::kBandwidth100M, static_cast<uint16_t>(c.bandwidth100M));
    const float millivolts = tables::kMillivoltsPerDivision[std::clamp<int>(c.voltsIndex, 0, 13)];
    storeLe32(block, at + ch::kVoltsValue, static_cast<uint32_t>(std::lround(millivolts * 100.0f)));
    storeLe16(block, at + ch::kPosition, static_cast<uint16_t>(c.position));
    storeLe16(block, at + ch::kTriggerLevel, static_cast<uint16_t>(c.triggerLevel));
    storeLe16(block, at + ch::kAltTimeBase, static_cast<uint16_t>(altTimeBase));
    storeLe16(block, at + ch::kVoltsStep, static_cast<uint16_t>(c.voltsStep));
}

void storeTriggerRecord(std::span<uint8_t> block, std::size_t at, const TriggerState& t) {
    namespace tr = L::trigger;
    storeLe16(block, at + tr::kType, static_cast<uint16_t>(t.type));
    storeLe16(block, at + tr::kSource, static_cast<uint16_t>(t.source));
    storeLe16(block, at + tr::kSweep, static_cast<uint16_t>(t.sweep));
    storeLe16(block, at + tr::kSlope, static_cast<uint16_t>(t.slope));
    storeLe16(block, at + tr::kHfReject, t.hfReject);
    storeLe16(block, at + tr::kPulseCondition, t.pulseCondition);
    storeLe32(block, at + tr::kPulseWidth, t.pulseWidth);
}

}  // namespace

bool ScopeAcquisition::captureInput(const ScopeState& s, const InputSignals& in, int channel) {
    const bool alt = s.triggerMode == TriggerMode::Alt;
    const int16_t timeBase = alt ? s.altTimeBase[channel] : s.timeBase;
    const double dt = tables::timeBaseSeconds(timeBase) / tables::kSamplesPerDivision;
    const std::size_t triggerSample = static_cast<std::size_t>(s.horizontalTriggerPosition) *
                                      kSamples / tables::kHorizontalPositionMax;
    double start;  // time of sample 0
    std::size_t filled = kSamples;
    if (s.displayFormat == DisplayFormat::Roll) {
        // Roll: an untriggered stream that fills the screen from the left.
        start = freeRunTime_;
        filled = std::min(kSamples, rollFilled_);
    } else {
        const TriggerState& trigger = alt ? s.altTriggers[channel] : s.mainTrigger;
        const int source = alt ? channel : (s.mainTrigger.source == TriggerSource::Ch2 ? 1 : 0);
        const ChannelState& sc = s.channels[source];
        const double level = (leverCode(sc.triggerLevel) - leverCode(sc.position)) *
                             voltsPerDivision(sc) / tables::kCodesPerDivision;
        const auto t0 = triggerTime(s, in, source, level, trigger.slope == Slope::Rising);
        if (t0) {
            start = *t0 - static_cast<double>(triggerSample) * dt;
        } else if (s.mainTrigger.sweep == Sweep::Auto) {
            start = freeRunTime_;  // AUTO runs free without a trigger
        } else {
            return false;  // NORMAL and SINGLE wait for a trigger
        }
    }

    Trace& trace = traces_[channel];
    const ChannelState& c = s.channels[channel];
    const double noiseCodes = in.noiseCodes * (c.bandwidth20M ? 0.5 : 1.0);
    for (std::size_t i = 0; i < kSamples; ++i) {
        const double v = shownVolts(s, in, channel, start + static_cast<double>(i) * dt);
        trace.volts[i] = v;
        trace.codes[i] = i < filled
                             ? quantised(codeOf(c, v) + noiseCodes * noise(frame_, i, channel))
                             : L::kBlankedSample;
    }
    if (channel == 0 && in.ch1AcquisitionCode) {
        const auto code = static_cast<int16_t>(20 + frame_ % 200);
        std::fill(trace.codes.begin(), trace.codes.begin() + static_cast<std::ptrdiff_t>(filled),
                  code);
    }
    trace.captured = c;
    trace.blankMode = filled < kSamples ? 2 : 0;
    trace.blankStart = static_cast<int16_t>(filled);
    trace.blankEnd = static_cast<int16_t>(kSamples - 1);
    return true;
}

void ScopeAcquisition::computeMath(const ScopeState& s) {
    Trace& math = traces_[2];
    const ChannelState& m = s.channels[2];
    math.captured = m;
    if (s.mathOperator == MathOperator::Fft) {
        std::vector<double> input(traces_[s.fftSource == 1 ? 1 : 0].volts.begin(),
                                  traces_[s.fftSource == 1 ? 1 : 0].volts.begin() + 1024);
        const std::vector<double> rms = rmsSpectrum(std::move(input), s.fftWindow);
        const double dbPerDivision = kDbPerDivision[std::min<std::size_t>(s.fftDbPerDivision, 6)];
        for (std::size_t i = 0; i < kSamples; ++i) {
            const double r = rms[i * rms.size() / kSamples];
            const double code = s.fftScale == 0 ? codeOf(m, r)
                                                : leverCode(m.position) +
                                                      20 * std::log10(std::max(r, 1e-6)) /
                                                          dbPerDivision * tables::kCodesPerDivision;
            math.codes[i] = quantised(code);
        }
        return;
    }
    const Trace& a = traces_[s.mathSources[0] == 1 ? 1 : 0];
    const Trace& b = traces_[s.mathSources[1] == 1 ? 1 : 0];
    for (std::size_t i = 0; i < kSamples; ++i) {
        const double x = a.volts[i], y = b.volts[i];
        double v = 0;
        switch (s.mathOperator) {
            case MathOperator::Add:
                v = x + y;
                break;
            case MathOperator::Subtract:
                v = x - y;
                break;
            case MathOperator::Multiply:
                v = x * y;
                break;
            default:
                v = std::fabs(y) < 1e-9 ? std::copysign(1e9, x) : x / y;
                break;
        }
        math.volts[i] = v;
        math.codes[i] = quantised(codeOf(m, v));
    }
}

void ScopeAcquisition::acquire(ScopeState& s, const InputSignals& in) {
    if (!s.running) return;
    ++frame_;
    if (s.displayFormat == DisplayFormat::Roll) rollFilled_ = std::min(kSamples, rollFilled_ + 100);
    bool fired = false;
    for (int c = 0; c < 2; ++c) fired |= captureInput(s, in, c);
    if (s.channels[2].shown) computeMath(s);
    // Between acquisitions the signal runs on; an untriggered trace drifts.
    const double dt = tables::timeBaseSeconds(s.timeBase) / tables::kSamplesPerDivision;
    freeRunTime_ += (s.displayFormat == DisplayFormat::Roll ? 100.0 : 437.0) * dt;
    if (fired && s.mainTrigger.sweep == Sweep::Single && s.displayFormat != DisplayFormat::Roll)
        s.running = false;
}

void ScopeAcquisition::storeReference(ScopeState& s, int channel) {
    Trace& ref = traces_[3];
    ref = traces_[channel];
    ref.blankMode = 0;
    // REF shows at the scale it was stored with until its own knobs move.
    s.channels[3].voltsIndex = ref.captured.voltsIndex;
    s.channels[3].probe = ref.captured.probe;
    s.channels[3].position = ref.captured.position;
}

std::vector<uint8_t> ScopeAcquisition::settingBlock(const ScopeState& s) const {
    std::vector<uint8_t> bytes(L::kBlockSize, 0);
    std::span<uint8_t> block(bytes);
    for (int c = 0; c < L::kWaveformCount; ++c) {
        const int16_t altTimeBase = c < 2 ? s.altTimeBase[c] : s.timeBase;
        const Trace& t = traces_[c];
        storeChannelRecord(block, L::firstChannelRecord(c), s.channels[c], altTimeBase);
        storeChannelRecord(block, L::secondChannelRecord(c), t.captured, altTimeBase);
        namespace ch = L::channel;
        storeLe16(block, L::firstChannelRecord(c) + ch::kBlankMode,
                  static_cast<uint16_t>(t.blankMode));
        storeLe16(block, L::firstChannelRecord(c) + ch::kBlankStart,
                  static_cast<uint16_t>(t.blankStart));
        storeLe16(block, L::firstChannelRecord(c) + ch::kBlankEnd,
                  static_cast<uint16_t>(t.blankEnd));

        const bool shown = s.channels[c].shown != 0;
        const std::size_t w = L::waveformRecord(c);
        storeLe32(block, w + L::waveform::kStep,
                  tables::kHorizontalPositionMax * 1000u / static_cast<uint32_t>(kSamples));
        storeLe32(block, w + L::waveform::kOrigin, 0);
        storeLe32(block, w + L::waveform::kSampleCount,
                  shown ? static_cast<uint32_t>(kSamples) : 0);
        storeLe16(block, w + L::waveform::kVector, 1);
        for (std::size_t i = 0; i < kSamples; ++i)
            storeLe16(block, L::traceSamples(c) + 2 * i, static_cast<uint16_t>(t.codes[i]));
    }
    storeLe32(block, L::kMathOperatorSettings, static_cast<uint32_t>(s.mathOperator));
    storeLe32(block, L::kMathSourceA, s.mathSources[0]);
    storeLe32(block, L::kMathSourceB, s.mathSources[1]);
    storeLe32(block, L::kFftDbPerDivision, s.fftDbPerDivision);
    storeTriggerRecord(block, L::kMainTrigger, s.mainTrigger);
    for (int a = 0; a < 2; ++a) storeTriggerRecord(block, L::altTriggerRecord(a), s.altTriggers[a]);
    storeLe16(block, L::kTimeBase, static_cast<uint16_t>(s.timeBase));
    storeLe16(block, L::kHorizontalTrigger, static_cast<uint16_t>(s.horizontalTriggerPosition));
    storeLe16(block, L::kRunStop, s.running ? 0 : 1);
    storeLe16(block, L::kFftSource, s.fftSource);
    storeLe16(block, L::kTriggerMode, static_cast<uint16_t>(s.triggerMode));
    storeLe16(block, L::kFftWindow, s.fftWindow);
    storeLe16(block, L::kDisplayFormat, static_cast<uint16_t>(s.displayFormat));
    storeLe16(block, L::kFftScale, s.fftScale);
    swapHalfSwappedFields(std::span<uint8_t, L::kBlockSize>(bytes));
    return bytes;
}

}  // namespace zelvo::sim
