#include "instrument.h"

#include <algorithm>

#include "zelvo/command_codes.h"
#include "zelvo/scope_tables.h"

namespace zelvo::sim {
namespace {

constexpr uint32_t kHighestCommand = code(Command::EtsUpdate);

uint8_t low8(uint32_t v) { return static_cast<uint8_t>(v); }
int selectorOf(uint32_t v) { return static_cast<int>((v >> 16) & 0xFF); }
int16_t byteValue(uint32_t v) { return static_cast<int16_t>(v & 0xFF); }
int16_t wordValue(uint32_t v) { return static_cast<int16_t>(v & 0xFFFF); }

}  // namespace

Instrument::Instrument(Identity identity) : identity_(std::move(identity)) {}

std::optional<uint32_t> Instrument::lastSetValue(uint32_t code) const {
    const auto it = lastSet_.find(code);
    if (it == lastSet_.end()) return std::nullopt;
    return it->second;
}

bool Instrument::applySet(uint32_t c, uint32_t value) {
    if (c == 0 || c > kHighestCommand) return false;
    lastSet_[c] = value;
    switch (static_cast<Command>(c)) {
        case Command::MeterMeasureMode:
            meter_.mode = std::min<uint8_t>(low8(value), 5);
            break;
        case Command::MeterVoltAcDc:
        case Command::MeterCurrentAcDc:
            meter_.ac = low8(value) ? 1 : 0;
            break;
        case Command::MeterVoltMode:
        case Command::MeterCurrentMode:
        case Command::MeterResistanceMode:
            meter_.manualRange = low8(value) ? 1 : 0;
            break;
        case Command::MeterVoltRelative:
        case Command::MeterCurrentRelative:
        case Command::MeterResistanceRelative:
        case Command::MeterCapacitanceRelative:
            meter_.relative = low8(value) ? 1 : 0;
            break;
        case Command::MeterCurrentInput:
            meter_.milliamps = low8(value) ? 1 : 0;
            break;
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

void Instrument::applyScopeSet(uint32_t c, uint32_t value) {
    const int sel = selectorOf(value);
    ChannelState* channel = sel < 4 ? &scope_.channels[sel] : nullptr;
    // Trigger settings address the main trigger with 255, the alternate ones with 0 and 1.
    TriggerState* trigger = sel == 255 ? &scope_.mainTrigger
                            : sel < 2  ? &scope_.altTriggers[sel]
                                       : nullptr;
    switch (static_cast<Command>(c)) {
        case Command::RunStatus:
            scope_.running = low8(value) == 0 ? 1 : 0;
            break;
        case Command::AutoSetup:
        case Command::FactorySetup:
            scope_ = ScopeState{};
            break;
        case Command::ChannelEnable:
            if (channel) channel->shown = byteValue(value) ? 1 : 0;
            break;
        case Command::VoltsPerDivision:
            if (channel) channel->voltsIndex = std::min<int16_t>(byteValue(value), 13);
            break;
        case Command::VoltsPerDivisionStep:
            if (channel) {
                const int step = (value & 0xFF) ? 1 : -1;  // 1 a step up, 0 a step down
                channel->voltsIndex =
                    static_cast<int16_t>(std::clamp(channel->voltsIndex + step, 0, 13));
            }
            break;
        case Command::Coupling:
            if (channel) channel->coupling = std::min<int16_t>(byteValue(value), 2);
            break;
        case Command::Probe:
            if (channel) channel->probe = std::min<int16_t>(byteValue(value), 3);
            break;
        case Command::ChannelPosition:
            if (channel) channel->position = std::min<int16_t>(wordValue(value), tables::kLeverMax);
            break;
        case Command::Invert:
            if (channel) channel->invert = byteValue(value) ? 1 : 0;
            break;
        case Command::BandwidthLimit:
            if (channel) channel->bandwidth20M = byteValue(value) ? 1 : 0;
            break;
        case Command::Bandwidth100M:
            if (channel) channel->bandwidth100M = byteValue(value) ? 1 : 0;
            break;
        case Command::CoarseOrFine:
            if (channel) channel->voltsStep = byteValue(value) ? 1 : 0;
            break;
        case Command::MathOperator:
            scope_.mathOperator = std::min<uint16_t>(low8(value), 4);
            break;
        case Command::MathSourceFirst:
            scope_.mathSources[0] = low8(value);
            break;
        case Command::MathSourceSecond:
            scope_.mathSources[1] = low8(value);
            break;
        case Command::TimeBase: {
            const auto index = std::min<int16_t>(byteValue(value), tables::kTimeBaseCount - 1);
            if (sel < 2)
                scope_.altTimeBase[sel] = index;
            else
                scope_.timeBase = index;
            break;
        }
        case Command::DisplayFormat:
            scope_.displayFormat = std::min<int16_t>(low8(value), 2);
            break;
        case Command::HorizontalTriggerPosition:
            scope_.horizontalTriggerPosition =
                std::min<int16_t>(wordValue(value), tables::kHorizontalPositionMax);
            break;
        case Command::TriggerMode:
            scope_.triggerMode = std::min<int16_t>(low8(value), 2);
            break;
        case Command::TriggerSweep:
            scope_.mainTrigger.sweep = std::min<uint16_t>(low8(value), 2);
            break;
        case Command::TriggerSource:
            scope_.mainTrigger.source = low8(value);
            break;
        case Command::TriggerSlope:
            if (trigger) trigger->slope = low8(value);
            break;
        case Command::PulseTriggerCondition:
            if (trigger) trigger->pulseCondition = std::min<uint16_t>(low8(value), 5);
            break;
        case Command::PulseTriggerTime: {
            TriggerState& t = (value >> 31) ? scope_.altTriggers[1] : scope_.mainTrigger;
            t.pulseWidth = value & 0x7FFFFFFF;
            break;
        }
        case Command::TriggerLevelPosition: {
            // One trigger level per input channel; selector 2 (external) shares CH1's.
            const int input = sel == 1 ? 1 : 0;
            scope_.channels[input].triggerLevel =
                std::min<int16_t>(wordValue(value), tables::kLeverMax);
            break;
        }
        case Command::TriggerHfReject:
            if (trigger) trigger->hfReject = byteValue(value) ? 1 : 0;
            break;
        case Command::AltTriggerType:
            if (trigger) trigger->type = byteValue(value) ? 1 : 0;
            break;
        case Command::FftWindow:
            scope_.fftWindow = low8(value);
            break;
        case Command::FftSource:
            scope_.fftSource = low8(value);
            break;
        case Command::FftScale:
            scope_.fftScale = low8(value);
            break;
        default:
            break;  // stored in lastSet_ only
    }
}

uint32_t Instrument::answerGet(uint32_t c) const {
    if (c == code(Command::RunStatus)) return scope_.running ? 0 : 1;
    return lastSetValue(c).value_or(0);
}

std::optional<std::vector<uint8_t>> Instrument::readBlock(uint32_t block, uint32_t length) {
    std::vector<uint8_t> bytes;
    switch (static_cast<Block>(block)) {
        case Block::Setting:
            bytes = settingBlock(scope_, frame_);
            if (scope_.running) ++frame_;
            break;
        case Block::Screen:
            bytes = screenBlock(scope_, frame_);
            break;
        case Block::DeviceInformation:
            bytes = deviceInfoBlock(identity_);
            break;
        case Block::MeterReading:
            bytes = meterBlock(meter_, frame_++);
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
