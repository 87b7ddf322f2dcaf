#include "model/measure_set.h"

#include <charconv>
#include <cmath>

#include "mensyl/Mensyl.h"
#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"

namespace oscilane {
namespace {

// Reference levels of the rise and fall times: 10 % and 90 % of the amplitude.
constexpr float kHighReference = 0.9f;
constexpr float kLowReference = 0.1f;
constexpr double kNanosecondsPerSecond = 1e9;
constexpr double kMillivoltsPerVolt = 1000;
constexpr double kPercent = 100;

double intervalOf(int timeBaseIndex) { return SampleIntervalSeconds(timeBaseIndex).value_or(0); }

// The library promises no NaN; a value that is not finite is still no value.
bool usable(double r) { return std::isfinite(r); }

bool isVoltage(MeasureKind kind) {
    return static_cast<int>(kind) <= static_cast<int>(MeasureKind::Vrms);
}

}  // namespace

const MeasureLibrary& mensylLibrary() {
    static const MeasureLibrary library{
        PreMeas,
        FindPeriod,
        CalVpp,
        CalMaxVolt,
        CalMinVolt,
        CalAmplitude,
        CalTopVolt,
        CalMidVolt,
        CalBaseVolt,
        CalMean,
        CalRMS,
        CalPreShoot,
        CalOverShoot,
        CalPDutyCycle,
        CalNDutyCycle,
        CalPeriod,
        CalFrequency,
        CalPPulseWidth,
        CalNPulseWidth,
        CalRiseTime,
        CalFallTime,
        CalPDelay12,
        CalNDelay12,
        MensylHasRisingCrossing,
        MensylHasFallingCrossing,
    };
    return library;
}

void MeasurePass::prepare(const ScopeSettings& s) {
    alt_ = s.altTrigger();
    mainInterval_ = intervalOf(s.timeBase());
    for (int c = 0; c < kMeasureChannelCount; ++c) {
        Channel& ch = channels_[index(c)];
        ch.on = s.shown(c);
        ch.zero = s.position(c) * kCodeMax / kLeverMax;
        ch.factor = s.voltsValue10uV(c) * 0.01;
        ch.probeIndex = s.probe(c);
        ch.ownInterval = intervalOf(s.altTimeBase(c));
        ch.high.fill(0);
        ch.low.fill(0);
        ch.period.fill(0);
        for (int i = 0; i < kSamples; ++i)
            ch.samples[static_cast<std::size_t>(i)] = static_cast<short>(s.sample(c, i));
        if (!ch.on) continue;
        library_.preMeas(ch.high.data(), ch.low.data(), ch.samples.data(), kSamples);
        library_.findPeriod(ch.period.data(), ch.high.data(), ch.low.data(), ch.samples.data(),
                            kSamples);
    }
}

double MeasurePass::sampleInterval(int channel) const {
    if (channel == kMath) return channels_[index(kMath)].ownInterval;
    return delayInterval(channel);
}

double MeasurePass::delayInterval(int channel) const {
    return alt_ ? channels_[index(channel)].ownInterval : mainInterval_;
}

MeasureResult MeasurePass::voltage(const Channel& c, double millivolts) const {
    if (!usable(millivolts)) return {measuretext::kNoValue, std::nullopt};
    return {VoltText(millivolts, static_cast<uint16_t>(c.probeIndex)),
            millivolts * ProbeFactor(c.probeIndex) / kMillivoltsPerVolt};
}

MeasureResult MeasurePass::result(int channel, MeasureKind kind) const {
    const measuretext::KindText& text = kindText(kind);
    if (channel < 0 || channel >= kMeasureChannelCount || !channels_[index(channel)].on)
        return {text.invalid, std::nullopt};
    const Channel& c = channels_[index(channel)];
    const void* h = c.high.data();
    const void* l = c.low.data();
    const void* p = c.period.data();
    const short* data = c.samples.data();
    const double t = sampleInterval(channel);
    const MeasureLibrary& lib = library_;

    // A positive value or "*****".
    auto positive = [&](double r, double shown, std::string valueText) -> MeasureResult {
        if (!usable(r) || shown <= 0) return {std::string(text.label) + measuretext::kNoValue, {}};
        return {text.label + valueText, r};
    };
    auto time = [&](double r) { return positive(r, r, TimeText(r * kNanosecondsPerSecond)); };
    auto percent = [&](double r, int decimals) {
        return positive(r, r * kPercent, FixedText(r * kPercent, decimals) + "%");
    };
    // An edge faster than one sample shows the bound; one the record does
    // not hold (the library's negative result) has no value.
    auto edge = [&](double r) -> MeasureResult {
        if (usable(r) && r > 0)
            return {text.label + std::string(measuretext::kEquals) +
                        TimeText(r * kNanosecondsPerSecond),
                    r};
        if (usable(r) && r == 0)
            return {
                text.label + std::string(measuretext::kBelow) + TimeText(t * kNanosecondsPerSecond),
                std::nullopt};
        return {text.invalid, std::nullopt};
    };
    // A delay may have either sign and may be 0 (the same signal on both
    // channels); it has no value only when CH1 and CH2 hold no pair of
    // crossings, whatever number the library gives then.
    const Channel& ch1 = channels_[index(kCh1)];
    const Channel& ch2 = channels_[index(kCh2)];
    const double t1 = delayInterval(kCh1), t2 = delayInterval(kCh2);
    auto delay = [&](int (*hasCrossing)(const void*), auto measure) -> MeasureResult {
        const bool paired =
            hasCrossing(ch1.period.data()) && hasCrossing(ch2.period.data()) && t1 > 0 && t2 > 0;
        const double r = paired ? measure() : 0;
        if (!paired || !usable(r)) return {std::string(text.label) + measuretext::kNoValue, {}};
        return {text.label + TimeText(r * kNanosecondsPerSecond), r};
    };

    if (isVoltage(kind)) {
        double mv = 0;
        switch (kind) {
            case MeasureKind::Vpp:
                mv = lib.vpp(h, l, c.factor, kFullCode);
                break;
            case MeasureKind::Vmax:
                mv = lib.maxVolt(h, c.zero, c.factor);
                break;
            case MeasureKind::Vmin:
                mv = lib.minVolt(l, c.zero, c.factor);
                break;
            case MeasureKind::Vamp:
                mv = lib.amplitude(h, l, c.factor);
                break;
            case MeasureKind::Vtop:
                mv = lib.topVolt(h, c.zero, c.factor);
                break;
            case MeasureKind::Vmid:
                mv = lib.midVolt(h, l, c.zero, c.factor, kFullCode);
                break;
            case MeasureKind::Vbase:
                mv = lib.baseVolt(l, c.zero, c.factor);
                break;
            case MeasureKind::Vavg:
                mv = lib.mean(data, kSamples, c.zero, c.factor, kFullCode);
                break;
            default:
                mv = lib.rms(data, kSamples, c.zero, c.factor, kFullCode);
                break;
        }
        MeasureResult r = voltage(c, mv);
        r.text = text.label + r.text;
        return r;
    }
    switch (kind) {
        case MeasureKind::PreShoot:
            return percent(lib.preShoot(h, l), 2);
        case MeasureKind::OverShoot:
            return percent(lib.overShoot(h, l), 2);
        case MeasureKind::Period:
            return time(lib.period(p, t));
        case MeasureKind::Frequency: {
            const double r = lib.frequency(p, t);
            return positive(r, r, FreqText(r));
        }
        case MeasureKind::RiseTime:
            return edge(lib.riseTime(h, l, data, kSamples, t, kHighReference, kLowReference));
        case MeasureKind::FallTime:
            return edge(lib.fallTime(h, l, data, kSamples, t, kHighReference, kLowReference));
        case MeasureKind::PosDuty:
            return percent(lib.posDutyCycle(p), 1);
        case MeasureKind::NegDuty:
            return percent(lib.negDutyCycle(p), 1);
        case MeasureKind::PosWidth:
            return time(lib.posPulseWidth(p, t));
        case MeasureKind::NegWidth:
            return time(lib.negPulseWidth(p, t));
        case MeasureKind::PosDelay:
            return delay(lib.hasRisingCrossing, [&] {
                return lib.posDelay12(ch1.period.data(), ch2.period.data(), t1, t2);
            });
        case MeasureKind::NegDelay:
            return delay(lib.hasFallingCrossing, [&] {
                return lib.negDelay12(ch1.high.data(), ch1.low.data(), ch2.high.data(),
                                      ch2.low.data(), ch1.samples.data(), kSamples,
                                      ch2.samples.data(), kSamples, t1, t2);
            });
        default:
            return {text.invalid, std::nullopt};
    }
}

const char* MeasureSlotPrefix(const MeasureSlot& slot) {
    return slot.overlay ? measuretext::kOverlayPrefix
                        : measuretext::kChannelPrefixes[static_cast<std::size_t>(slot.channel)];
}

MeasureSet::MeasureSet(const MeasureLibrary& library) : pass_(library), overlayPass_(library) {}

void MeasureSet::add(MeasureKind kind) {
    if (activeCount_ < kMeasureSlotCount) {
        ++activeCount_;
    } else {
        for (std::size_t k = 1; k < slots_.size(); ++k) {
            slots_[k - 1] = slots_[k];
            texts_[k - 1] = std::move(texts_[k]);
            values_[k - 1] = values_[k];
        }
    }
    const auto last = static_cast<std::size_t>(activeCount_ - 1);
    slots_[last] = {true, currentChannel_, kind, nextSerial_++, currentOverlay_};
    texts_[last].clear();
    values_[last].reset();
}

void MeasureSet::clear() {
    for (std::size_t k = 0; k < slots_.size(); ++k) {
        slots_[k].enabled = false;
        texts_[k] = measuretext::kNoValue;
        values_[k].reset();
    }
    activeCount_ = 0;
}

void MeasureSet::setCurrentChannel(int channel) {
    if (channel >= 0 && channel < kMeasureChannelCount) {
        currentChannel_ = static_cast<WaveChannel>(channel);
        currentOverlay_ = false;
    }
}

MeasureResult MeasureSet::overlayResult(MeasureKind kind, bool& prepared) {
    if (!prepared) {
        prepared = true;
        overlayChannel_.reset();
        if (overlay_) {
            const ScopeSettings s(*overlay_);
            overlayPass_.prepare(s);
            for (int c = kCh1; c < kMeasureChannelCount && !overlayChannel_; ++c)
                if (s.shown(c)) overlayChannel_ = c;
        }
    }
    if (!overlayChannel_) return {kindText(kind).invalid, std::nullopt};
    return overlayPass_.result(*overlayChannel_, kind);
}

void MeasureSet::compute(const SettingBlock& block) {
    if (activeCount_ < 1) return;
    pass_.prepare(ScopeSettings(block));
    bool overlayPrepared = false;
    for (int k = 0; k < activeCount_; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (!slots_[i].enabled) continue;
        MeasureResult r = slots_[i].overlay ? overlayResult(slots_[i].kind, overlayPrepared)
                                            : pass_.result(slots_[i].channel, slots_[i].kind);
        texts_[i] = MeasureSlotPrefix(slots_[i]) + r.text;
        values_[i] = r.value;
    }
}

std::array<MeasureResult, kMeasureKindCount> measureChannel(const SettingBlock& block, int channel,
                                                            const MeasureLibrary& library) {
    MeasurePass pass(library);
    pass.prepare(ScopeSettings(block));
    std::array<MeasureResult, kMeasureKindCount> results;
    const char* prefix = measuretext::kChannelPrefixes[static_cast<std::size_t>(channel)];
    for (int k = 0; k < kMeasureKindCount; ++k) {
        MeasureResult& r = results[static_cast<std::size_t>(k)];
        r = pass.result(channel, static_cast<MeasureKind>(k));
        r.text = prefix + r.text;
    }
    return results;
}

std::string MeasureCsvValue(std::optional<double> value) {
    if (!value || !std::isfinite(*value)) return {};
    char buffer[32];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, *value, std::chars_format::general, 9);
    if (ec != std::errc{}) return {};
    return std::string(buffer, end);
}

}  // namespace oscilane
