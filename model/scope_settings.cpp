#include "model/scope_settings.h"

#include <algorithm>

#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace L = zelvo::layout;

uint32_t ScopeSettings::u32(std::size_t at) const {
    return static_cast<uint32_t>(u16(at)) | static_cast<uint32_t>(u16(at + 2)) << 16;
}

namespace {
std::size_t first(int channel, std::size_t field) { return L::firstChannelRecord(channel) + field; }
std::size_t second(int channel, std::size_t field) {
    return L::secondChannelRecord(channel) + field;
}
std::size_t wave(int waveform, std::size_t field) { return L::waveformRecord(waveform) + field; }
std::size_t mainTrigger(std::size_t field) { return L::kMainTrigger + field; }
std::size_t altRecord(int alt, std::size_t field) { return L::altTriggerRecord(alt) + field; }
}  // namespace

bool ScopeSettings::shown(int c) const { return u16(first(c, L::channel::kShown)) == 1; }
int ScopeSettings::voltsIndex(int c) const { return u16(first(c, L::channel::kVoltsIndex)); }
int ScopeSettings::coupling(int c) const { return u16(first(c, L::channel::kCoupling)); }
int ScopeSettings::probe(int c) const { return u16(first(c, L::channel::kProbe)); }
uint32_t ScopeSettings::voltsValue10uV(int c) const {
    return u32(first(c, L::channel::kVoltsValue));
}
int ScopeSettings::position(int c) const { return i16(first(c, L::channel::kPosition)); }
int ScopeSettings::triggerLevel(int c) const { return i16(first(c, L::channel::kTriggerLevel)); }
int ScopeSettings::altTimeBase(int c) const { return i16(first(c, L::channel::kAltTimeBase)); }
uint32_t ScopeSettings::capturedVoltsValue10uV(int c) const {
    return u32(second(c, L::channel::kVoltsValue));
}
int ScopeSettings::capturedPosition(int c) const { return i16(second(c, L::channel::kPosition)); }

ScopeSettings::BlankInterval ScopeSettings::blankInterval(int w) const {
    // Mode 0 blanks nothing; mode 1 blanks from the start of the record.
    switch (i16(first(w, L::channel::kBlankMode))) {
        case 1:
            return {0, i16(first(w, L::channel::kBlankEnd))};
        case 2:
        case 3:
            return {i16(first(w, L::channel::kBlankStart)), i16(first(w, L::channel::kBlankEnd))};
        default:
            return {1, 0};
    }
}

uint32_t ScopeSettings::stepMilliUnits(int w) const { return u32(wave(w, L::waveform::kStep)); }
uint32_t ScopeSettings::originMilliUnits(int w) const { return u32(wave(w, L::waveform::kOrigin)); }
int ScopeSettings::pointCount(int w) const {
    return static_cast<int>(
        std::min<uint32_t>(u32(wave(w, L::waveform::kSampleCount)), L::kSamplesPerTrace));
}
bool ScopeSettings::vector(int w) const { return u16(wave(w, L::waveform::kVector)) == 1; }
int ScopeSettings::mathOperator() const { return u16(L::kMathOperatorSettings); }
int ScopeSettings::fftDbIndex() const { return static_cast<int>(u32(L::kFftDbPerDivision)); }
int ScopeSettings::fftSource() const { return i16(L::kFftSource); }
int ScopeSettings::fftScale() const { return i16(L::kFftScale); }

int ScopeSettings::triggerSource() const { return u16(mainTrigger(L::trigger::kSource)); }
int ScopeSettings::sweep() const { return u16(mainTrigger(L::trigger::kSweep)); }
int ScopeSettings::edgeSlope() const { return u16(mainTrigger(L::trigger::kSlope)); }
int ScopeSettings::pulseCondition() const { return u16(mainTrigger(L::trigger::kPulseCondition)); }
uint32_t ScopeSettings::pulseWidth5ns() const { return u32(mainTrigger(L::trigger::kPulseWidth)); }
int ScopeSettings::altType(int a) const { return u16(altRecord(a, L::trigger::kType)); }
int ScopeSettings::altEdgeSlope(int a) const { return u16(altRecord(a, L::trigger::kSlope)); }
int ScopeSettings::altPulseCondition(int a) const {
    return u16(altRecord(a, L::trigger::kPulseCondition));
}
uint32_t ScopeSettings::altPulseWidth5ns(int a) const {
    return u32(altRecord(a, L::trigger::kPulseWidth));
}

int ScopeSettings::traceTimeBase(int w) const {
    if (w == kMath) return altTimeBase(kMath);
    return w == kRef ? timeBase() : timeBaseOf(w);
}

int ScopeSettings::timeBase() const { return u16(L::kTimeBase); }
int ScopeSettings::horizontalTrigger() const { return i16(L::kHorizontalTrigger); }
bool ScopeSettings::running() const { return i16(L::kRunStop) == 0; }
int ScopeSettings::triggerModeValue() const { return u16(L::kTriggerMode); }
int ScopeSettings::formatValue() const { return u16(L::kDisplayFormat); }

}  // namespace oscilane
