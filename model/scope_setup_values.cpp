#include "model/scope_setup_values.h"

#include <cstdint>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace {

namespace L = zelvo::layout;

int u16(const SettingBlock& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
int i16(const SettingBlock& b, std::size_t at) {
    return static_cast<int16_t>(static_cast<uint16_t>(u16(b, at)));
}
int channelField(const SettingBlock& b, int channel, std::size_t field) {
    return u16(b, L::firstChannelRecord(channel) + field);
}
std::string voltsText(const ScopeSettings& s, int channel) {
    return VoltText(s.voltsValue10uV(channel) * 0.01, static_cast<uint16_t>(s.probe(channel)));
}

}  // namespace

int VoltsStep(const SettingBlock& b, int c) { return channelField(b, c, L::channel::kVoltsStep); }
int BandwidthLimit20M(const SettingBlock& b, int c) {
    return channelField(b, c, L::channel::kBandwidth20M);
}
int Bandwidth100M(const SettingBlock& b, int c) {
    return channelField(b, c, L::channel::kBandwidth100M);
}
int Invert(const SettingBlock& b, int c) { return channelField(b, c, L::channel::kInvert); }

int MathSource(const SettingBlock& b, int operand) {
    // u32 fields; the sources are 0 or 1, so the low half holds them.
    return u16(b, operand == 0 ? L::kMathSourceA : L::kMathSourceB);
}
int FftWindow(const SettingBlock& b) { return i16(b, L::kFftWindow); }

int HfReject(const SettingBlock& b, int record) {
    const std::size_t at = record == 0 ? L::kMainTrigger : L::altTriggerRecord(record - 1);
    return u16(b, at + L::trigger::kHfReject);
}

std::string MathVoltDivText(const ScopeSettings& s) {
    if (s.mathOperator() == kFftOperator && s.fftScale() != 0) {
        const std::optional<int> step = FftDecibelsPerDivision(s.fftDbIndex());
        return step ? std::to_string(*step) + "dB" : std::string();
    }
    return voltsText(s, kMath);
}

std::string RefVoltDivText(const ScopeSettings& s) { return voltsText(s, kRef); }

}  // namespace oscilane
