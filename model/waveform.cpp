#include "model/waveform.h"

#include "model/scope_scales.h"
#include "model/scope_settings.h"

namespace oscilane {

Waveform::Waveform(const SettingBlock& block, int channel) : channel_(channel) {
    const ScopeSettings s(block);
    shown_ = s.shown(channel);
    probeIndex_ = s.probe(channel);
    probeFactor_ = oscilane::ProbeFactor(probeIndex_);
    lever_ = s.position(channel);
    millivoltsPerDivision_ = oscilane::MillivoltsPerDivision(s.voltsIndex(channel));
    timeBaseIndex_ = s.traceTimeBase(channel);
    sampleInterval_ = SampleIntervalSeconds(timeBaseIndex_);
    for (int i = 0; i < kSamples; ++i)
        codes_[static_cast<std::size_t>(i)] = static_cast<int16_t>(s.sample(channel, i));
}

bool Waveform::blank(int i) const { return code(i) == kBlankedCode; }

double Waveform::volts(int i) const {
    if (!millivoltsPerDivision_) return 0;
    return CodeMillivolts(code(i), lever_, *millivoltsPerDivision_, probeFactor_) * 0.001;
}

}  // namespace oscilane
