#include "instrument.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "protocol/half_word_swap.h"
#include "zelvo/command_codes.h"
#include "zelvo/scope_tables.h"

namespace zelvo::sim {
namespace {

constexpr uint32_t kHighestCommand = code(Command::EtsUpdate);

uint8_t low8(uint32_t v) { return static_cast<uint8_t>(v); }
int selectorOf(uint32_t v) { return static_cast<int>((v >> 16) & 0xFF); }
int16_t byteValue(uint32_t v) { return static_cast<int16_t>(v & 0xFF); }
int16_t wordValue(uint32_t v) { return static_cast<int16_t>(v & 0xFFFF); }
int16_t flag(uint32_t v) { return (v & 0xFF) ? 1 : 0; }
// The value as a kind; anything above the last kind is the last kind.
template <class Kind, class Value>
Kind upTo(Value v, Kind last) {
    using Number = std::underlying_type_t<Kind>;
    return static_cast<Kind>(std::min<Number>(static_cast<Number>(v), static_cast<Number>(last)));
}
int16_t lever(uint32_t v) { return std::min<int16_t>(wordValue(v), tables::kLeverMax); }

double voltsPerDivision(const ChannelState& c) {
    return tables::kMillivoltsPerDivision[std::clamp<int>(c.voltsIndex, 0, 13)] / 1000.0 *
           tables::kProbeFactor[c.probe & 3];
}

// The smallest volts-per-division index (among 1X settings) that shows the
// peak-to-peak span within six divisions.
int16_t fittingVoltsIndex(double peakToPeak) {
    for (int16_t i = 0; i < 14; ++i)
        if (peakToPeak <= 6 * tables::kMillivoltsPerDivision[i] / 1000.0) return i;
    return 13;
}

// The time-base index that shows about three periods across the twelve divisions.
int16_t fittingTimeBase(double frequency) {
    const double wanted = 3.0 / frequency / 12.0;
    int16_t best = 0;
    for (int16_t i = 0; i < tables::kTimeBaseCount; ++i)
        if (tables::timeBaseSeconds(i) <= wanted) best = i;
    return best;
}

}  // namespace

Instrument::Instrument(Identity identity, InputSignals signals)
    : identity_(std::move(identity)), signals_(signals) {}

std::optional<uint32_t> Instrument::lastSetValue(uint32_t code) const {
    const auto it = lastSet_.find(code);
    if (it == lastSet_.end()) return std::nullopt;
    return it->second;
}

bool Instrument::applySet(uint32_t c, uint32_t value) {
    if (c == 0 || c > kHighestCommand) return false;
    lastSet_[c] = value;
    if (applyMeterSet(c, value)) return true;
    switch (static_cast<Command>(c)) {
        case Command::GeneratorSyncOutput:
            generator_.syncOutput = low8(value);
            break;
        case Command::GeneratorPower:
            generator_.power = low8(value);
            break;
        case Command::GeneratorClockDivider:
            generator_.divider = value;
            break;
        default:
            applyScopeSet(c, value);
            break;
    }
    return true;
}

bool Instrument::applyMeterSet(uint32_t c, uint32_t value) {
    MeterState& m = meter_.state();
    switch (static_cast<Command>(c)) {
        case Command::MeterMeasureMode:
            if (low8(value) != m.mode) meter_.setRelative(false);
            m.mode = std::min<uint8_t>(low8(value), 5);
            break;
        case Command::MeterVoltAcDc:
        case Command::MeterCurrentAcDc:
            m.ac = low8(value) ? 1 : 0;
            break;
        case Command::MeterVoltMode:
        case Command::MeterCurrentMode:
        case Command::MeterResistanceMode:
            m.manualRange = low8(value) ? 1 : 0;
            break;
        case Command::MeterVoltRange:
            m.voltRange = std::min<uint8_t>(low8(value), 5);
            break;
        case Command::MeterCurrentRange:
            m.currentRange = std::min<uint8_t>(low8(value), 1);
            break;
        case Command::MeterResistanceRange:
            m.resistanceRange = std::min<uint8_t>(low8(value), 5);
            break;
        case Command::MeterVoltRelative:
        case Command::MeterCurrentRelative:
        case Command::MeterResistanceRelative:
        case Command::MeterCapacitanceRelative:
            meter_.setRelative(flag(value));
            break;
        case Command::MeterCurrentInput:
            m.milliamps = low8(value) ? 1 : 0;
            break;
        case Command::OpenMeter:
            break;
        default:
            return false;
    }
    return true;
}

void Instrument::applyScopeSet(uint32_t c, uint32_t value) {
    const int sel = selectorOf(value);
    ChannelState* channel = sel < 4 ? &scope_.channels[sel] : nullptr;
    // Trigger settings address the alternate triggers with 0 and 1.
    TriggerState* trigger = sel == kMainTriggerSelector ? &scope_.mainTrigger
                            : sel < 2                   ? &scope_.altTriggers[sel]
                                                        : nullptr;
    switch (static_cast<Command>(c)) {
        case Command::RunStatus:
            scope_.running = low8(value) == 0;
            break;
        case Command::AutoSetup:
            autoSetup();
            break;
        case Command::FactorySetup:
            scope_ = ScopeState{};
            break;
        case Command::ChannelEnable:
            if (!channel) break;
            // Switching REF on stores the CH1 trace shown at that moment; the
            // instrument's screen always shows one, so acquire it if no upload has yet.
            if (sel == 3 && flag(value) && !channel->shown) {
                if (!acquisition_.acquired()) acquisition_.acquire(scope_, signals_);
                acquisition_.storeReference(scope_, 0);
            }
            channel->shown = flag(value);
            break;
        case Command::VoltsPerDivision:
            if (channel) channel->voltsIndex = std::min<int16_t>(byteValue(value), 13);
            break;
        case Command::VoltsPerDivisionStep: {
            // Here the channel is in bits 16-23 and the direction (1 up, 0 down) below.
            if (!channel) break;
            const int step = (value & 0xFF) ? 1 : -1;
            channel->voltsIndex =
                static_cast<int16_t>(std::clamp(channel->voltsIndex + step, 0, 13));
            break;
        }
        case Command::Coupling:
            if (channel) channel->coupling = upTo(byteValue(value), Coupling::Gnd);
            break;
        case Command::Probe:
            if (channel) channel->probe = std::min<int16_t>(byteValue(value), 3);
            break;
        case Command::ChannelPosition:
            if (channel) channel->position = lever(value);
            break;
        case Command::Invert:
            if (channel) channel->invert = flag(value);
            break;
        case Command::BandwidthLimit:
            if (channel) channel->bandwidth20M = flag(value);
            break;
        case Command::Bandwidth100M:
            if (channel) channel->bandwidth100M = flag(value);
            break;
        case Command::CoarseOrFine:
            if (channel) channel->voltsStep = flag(value);
            break;
        case Command::MathOperator:
            scope_.mathOperator = upTo(low8(value), MathOperator::Fft);
            break;
        case Command::MathSourceFirst:
            scope_.mathSources[0] = low8(value) ? 1 : 0;
            break;
        case Command::MathSourceSecond:
            scope_.mathSources[1] = low8(value) ? 1 : 0;
            break;
        case Command::TimeBase: {
            const auto index = std::min<int16_t>(byteValue(value), tables::kTimeBaseCount - 1);
            // The application sends selector 0 for the common time base as
            // well as for ALT channel 0: outside ALT mode it is the common one.
            const bool alt = sel == 1 || (sel == 0 && scope_.triggerMode == TriggerMode::Alt);
            if (alt)
                scope_.altTimeBase[sel] = index;
            else
                scope_.timeBase = index;
            break;
        }
        case Command::DisplayFormat: {
            const auto format = upTo(low8(value), DisplayFormat::Roll);
            if (format == DisplayFormat::Roll && scope_.displayFormat != DisplayFormat::Roll)
                acquisition_.restartRoll();
            scope_.displayFormat = format;
            break;
        }
        case Command::HorizontalTriggerPosition:
            scope_.horizontalTriggerPosition =
                std::min<int16_t>(wordValue(value), tables::kHorizontalPositionMax);
            break;
        case Command::TriggerMode:
            scope_.triggerMode = upTo(low8(value), TriggerMode::Alt);
            break;
        case Command::TriggerSweep:
            scope_.mainTrigger.sweep = upTo(low8(value), Sweep::Single);
            if (scope_.mainTrigger.sweep == Sweep::Single)
                scope_.running = true;  // arms a single capture
            break;
        case Command::TriggerSource:
            scope_.mainTrigger.source = upTo(low8(value), TriggerSource::Ext);
            break;
        case Command::TriggerSlope:
            if (trigger) trigger->slope = low8(value) ? Slope::Falling : Slope::Rising;
            break;
        case Command::PulseTriggerCondition:
            if (trigger) trigger->pulseCondition = std::min<uint16_t>(low8(value), 5);
            break;
        case Command::PulseTriggerTime: {
            // Only one selector bit travels: in ALT mode it picks the channel's
            // alternate trigger, otherwise the width is the main trigger's.
            const int alt = static_cast<int>(value >> 31);
            TriggerState& t = scope_.triggerMode == TriggerMode::Alt ? scope_.altTriggers[alt]
                                                                     : scope_.mainTrigger;
            t.pulseWidth = value & 0x7FFFFFFF;
            break;
        }
        case Command::TriggerLevelPosition:
            // One trigger level per input channel; selector 2 (EXT) shares CH1's.
            scope_.channels[sel == 1 ? 1 : 0].triggerLevel = lever(value);
            break;
        case Command::TriggerHfReject:
            if (trigger) trigger->hfReject = flag(value);
            break;
        case Command::AltTriggerType:
            if (trigger) trigger->type = flag(value) ? TriggerType::Pulse : TriggerType::Edge;
            break;
        case Command::TriggerLevel50:
            setTriggerLevelTo50(scope_.mainTrigger.source == TriggerSource::Ch2 ? 1 : 0);
            break;
        case Command::FftWindow:
            scope_.fftWindow = std::min<uint16_t>(low8(value), 3);
            break;
        case Command::FftSource:
            scope_.fftSource = low8(value) ? 1 : 0;
            break;
        case Command::FftScale:
            scope_.fftScale = low8(value) ? 1 : 0;
            break;
        default:
            break;  // kept in lastSet_ only
    }
}

void Instrument::autoSetup() {
    // Factory defaults, then each input scaled to its signal and the time base
    // to three periods of CH1, triggering at the middle of CH1's swing.
    scope_ = ScopeState{};
    for (int c = 0; c < 2; ++c) {
        const double swing = c == 0 ? 2 * signals_.ch1Amplitude : 2 * signals_.ch2Amplitude;
        scope_.channels[c].voltsIndex = fittingVoltsIndex(swing + std::fabs(signals_.offset(c)));
    }
    scope_.timeBase = fittingTimeBase(signals_.ch1Frequency);
    scope_.altTimeBase = {scope_.timeBase, fittingTimeBase(signals_.ch2Frequency)};
    setTriggerLevelTo50(0);
}

void Instrument::setTriggerLevelTo50(int source) {
    ChannelState& c = scope_.channels[source];
    const double middleVolts = c.coupling == Coupling::Dc ? signals_.offset(source) : 0.0;
    const double code = 255.0 - c.position * 255.0 / tables::kLeverMax +
                        middleVolts / voltsPerDivision(c) * tables::kCodesPerDivision;
    c.triggerLevel = static_cast<int16_t>(std::clamp((255.0 - code) * tables::kLeverMax / 255.0,
                                                     0.0, static_cast<double>(tables::kLeverMax)));
}

uint32_t Instrument::answerGet(uint32_t c) const {
    if (c == code(Command::RunStatus)) return scope_.running ? 0 : 1;
    return lastSetValue(c).value_or(0);
}

std::vector<uint8_t> Instrument::rawSamples(int first, int second, std::size_t length) const {
    // Each half holds one trace's codes as bytes, repeated to fill the half.
    std::vector<uint8_t> bytes(length, 0);
    const std::size_t half = second < 0 ? length : length / 2;
    for (int k = 0; k < (second < 0 ? 1 : 2); ++k) {
        const auto& codes = acquisition_.codes(k == 0 ? first : second);
        for (std::size_t i = 0; i < half; ++i) {
            const int16_t code = codes[i % codes.size()];
            bytes[k * half + i] = static_cast<uint8_t>(std::clamp<int16_t>(code, 0, 255));
        }
    }
    return bytes;
}

std::optional<std::vector<uint8_t>> Instrument::readBlock(uint32_t block, uint32_t length) {
    std::vector<uint8_t> bytes;
    switch (static_cast<Block>(block)) {
        case Block::Setting:
            acquisition_.acquire(scope_, signals_);
            bytes = acquisition_.settingBlock(scope_);
            break;
        case Block::Screen: {
            std::vector<uint8_t> shown = acquisition_.settingBlock(scope_);
            swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize>(shown));
            bytes = screenBlock(shown);
            break;
        }
        case Block::DeviceInformation:
            bytes = deviceInfoBlock(identity_);
            break;
        case Block::MeterReading:
            bytes = meter_.readingBlock();
            break;
        case Block::KitMeterReading:
            bytes = meter_.kitReadingBlock();
            break;
        case Block::RawChannels:
            bytes = rawSamples(0, 1, kRawChannelsBlockSize);
            break;
        case Block::RawReference:
            bytes = rawSamples(3, -1, kRawReferenceBlockSize);
            break;
        default:
            return std::nullopt;
    }
    if (length != bytes.size()) return std::nullopt;
    return bytes;
}

bool Instrument::acceptsWrite(uint32_t block, uint32_t length) const {
    return block == code(Block::GeneratorWave) && length % 2 == 0 && length <= 2 * 65535u;
}

void Instrument::completeWrite(uint32_t block, const std::vector<uint8_t>& data) {
    if (block != code(Block::GeneratorWave)) return;
    generator_.samples.resize(data.size() / 2);
    for (std::size_t i = 0; i < generator_.samples.size(); ++i)
        generator_.samples[i] = static_cast<uint16_t>(data[2 * i] | data[2 * i + 1] << 8);
}

}  // namespace zelvo::sim
