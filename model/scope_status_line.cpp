#include "model/scope_status_line.h"

#include <array>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_texts.h"

namespace oscilane {
namespace {

constexpr int kSingleSweep = 2;  // index of "SINGLE" in the sweep list
constexpr const char* kUnknown = scopetext::kStatusUnknown;

template <std::size_t N>
std::string entry(const std::array<const char*, N>& table, int index) {
    return index >= 0 && index < static_cast<int>(N) ? table[static_cast<std::size_t>(index)]
                                                     : kUnknown;
}

StatusColour channelColour(int channel) {
    return channel == kCh1 ? StatusColour::Ch1 : StatusColour::Ch2;
}

std::string voltsText(const ScopeSettings& s, int channel) {
    const std::string text =
        VoltText(s.voltsValue10uV(channel) * 0.01, static_cast<uint16_t>(s.probe(channel)));
    return text.empty() || text == "-" ? kUnknown : text;
}

std::string timeText(int timeBase) {
    const int position = TimeListPosition(timeBase);
    if (position >= 0) return entry(scopetext::kTimePerDivision, position);
    const std::optional<double> seconds = SecondsPerDivision(timeBase);
    const std::string text = seconds ? TimeText(*seconds * 1e9) : std::string();
    return text.empty() || text == "-" ? kUnknown : text;
}

std::string sourceText(int source) {
    return source == kExtSource ? scopetext::kStatusExtSource
                                : entry(scopetext::kTriggerSources, source);
}

StatusColour sourceColour(int source) {
    if (source == kCh1) return StatusColour::Ch1;
    if (source == kCh2) return StatusColour::Ch2;
    return source == kExtSource ? StatusColour::ExtTrigger : StatusColour::Plain;
}

// An edge slope, or a pulse condition when the trigger is on a pulse width.
std::string slopeText(bool pulse, int value) {
    return pulse ? entry(scopetext::kConditions, value) : entry(scopetext::kSlopes, value);
}

}  // namespace

std::string ScopeMathLabel(const ScopeSettings& s) {
    const std::string volts =
        VoltText(s.voltsValue10uV(kMath) * 0.01, static_cast<uint16_t>(s.probe(kMath)));
    if (s.mathOperator() != kFftOperator) return "MATH: " + volts + "/DIV";
    const std::string gap = "     ";
    std::string text = "MATH: ";
    if (s.fftScale() != 0) {
        const std::optional<int> db = FftDecibelsPerDivision(s.fftDbIndex());
        text += (db ? std::to_string(*db) : std::string()) + "dB/DIV" + gap;
    } else {
        text += volts + "/DIV" + gap;
    }
    if (const std::optional<double> rate = FftSampleRate(s))
        text += FreqText(*rate / kFftRatePerDivision) + "/DIV" + gap + RateText(*rate);
    return text;
}

const char* runStateText(const ScopeSettings& s) {
    if (!s.running()) return scopetext::kStopped;
    return s.sweep() == kSingleSweep ? scopetext::kSingleRunning : scopetext::kRunning;
}

std::vector<StatusPiece> ScopeStatusLine(const ScopeSettings& s, bool linkLost) {
    std::vector<StatusPiece> line;
    for (int c = kCh1; c <= kCh2; ++c)
        if (s.shown(c))
            line.push_back({entry(scopetext::kChannels, c) + " " + voltsText(s, c) + " " +
                                entry(scopetext::kCouplings, s.coupling(c)),
                            channelColour(c)});
    const bool alt = s.altTrigger();
    if (alt) {
        // Each channel keeps its own time base; a hidden one has nothing to show.
        for (int c = kCh1; c <= kCh2; ++c)
            if (s.shown(c))
                line.push_back({scopetext::kStatusTimeBase + std::to_string(c + 1) + " " +
                                    timeText(s.altTimeBase(c)),
                                channelColour(c)});
        line.push_back({std::string(scopetext::kStatusTrigger) + " " + scopetext::kStatusAltTrigger,
                        StatusColour::Plain});
        for (int c = kCh1; c <= kCh2; ++c) {
            const bool pulse = s.altType(c) == static_cast<int>(TriggerMode::Pulse);
            line.push_back(
                {entry(scopetext::kChannels, c) + " " +
                     slopeText(pulse, pulse ? s.altPulseCondition(c) : s.altEdgeSlope(c)),
                 channelColour(c)});
        }
        line.push_back({entry(scopetext::kSweeps, s.sweep()), StatusColour::Plain});
    } else {
        line.push_back({std::string(scopetext::kStatusTimeBase) + " " + timeText(s.timeBase()),
                        StatusColour::Plain});
        const bool pulse = s.triggerModeValue() == static_cast<int>(TriggerMode::Pulse);
        const int source = s.triggerSource();
        line.push_back({std::string(scopetext::kStatusTrigger) + " " + sourceText(source) + " " +
                            slopeText(pulse, pulse ? s.pulseCondition() : s.edgeSlope()) + " " +
                            entry(scopetext::kSweeps, s.sweep()),
                        sourceColour(source)});
    }
    if (linkLost)
        line.push_back({scopetext::kLinkLost, StatusColour::LinkLost});
    else
        line.push_back({runStateText(s), StatusColour::Plain});
    return line;
}

}  // namespace oscilane
