#include "model/scope_report_texts.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_texts.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace {

constexpr std::array<const char*, 4> kNames = {"CH1", "CH2", "MATH", "REF"};
constexpr std::array<const char*, 4> kOperators = {" + ", " - ", " X ", " / "};
constexpr const char* kSecondChannel = "     CH2 = ";

std::string timeEntry(int timeBaseIndex) {
    const int position = timeBaseIndex - scopetext::kTimeListIndexOffset;
    if (position < 0 || position >= static_cast<int>(scopetext::kTimePerDivision.size())) return {};
    return scopetext::kTimePerDivision[static_cast<std::size_t>(position)];
}

uint32_t u32At(const SettingBlock& block, std::size_t at) {
    return static_cast<uint32_t>(block[at]) | static_cast<uint32_t>(block[at + 1]) << 8 |
           static_cast<uint32_t>(block[at + 2]) << 16 | static_cast<uint32_t>(block[at + 3]) << 24;
}

// Source 1 is CH2; every other value reads as CH1.
const char* sourceName(int64_t source) { return source == 1 ? "CH2" : "CH1"; }

// The ALT-mode form: "<head>CH1 = x" for a shown CH1, then "     CH2 = y"
// for a shown CH2.  The head belongs to CH1's part, so with CH1 off the
// line starts with CH2's.
template <typename Entry>
std::string altLine(const ScopeSettings& s, const char* head, Entry entry) {
    std::string line;
    if (s.shown(kCh1)) line += std::string(head) + "CH1 = " + entry(s.altTimeBase(kCh1));
    if (s.shown(kCh2)) line += kSecondChannel + entry(s.altTimeBase(kCh2));
    return line;
}

}  // namespace

std::string ReportDateLine(const ReportDateTime& w) {
    std::array<char, 96> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "Data = %02d-%02d-%4d     Time = %02d:%02d:%02d",
                  w.day, w.month, w.year, w.hour, w.minute, w.second);
    return buffer.data();
}

std::string ReportSamplingRateLine(const ScopeSettings& s) {
    if (!s.altTrigger()) return "Sampling Rate = " + SampleRateText(s, s.timeBase());
    return altLine(s, "Sampling Rate: ", [&s](int tb) { return SampleRateText(s, tb); });
}

std::string ReportTimePerDivisionLine(const ScopeSettings& s) {
    if (!s.altTrigger()) return "Time/DIV = " + timeEntry(s.timeBase()) + "/div";
    return altLine(s, "Time/DIV: ", timeEntry) + "/div";
}

std::string ReportVoltLine(const ScopeSettings& s, int channel) {
    const auto probe = static_cast<uint16_t>(s.probe(channel));
    return std::string(kNames[static_cast<std::size_t>(channel & 3)]) +
           ":  VOLT DIV = " + VoltText(s.voltsValue10uV(channel) * 0.01, probe) + "/div";
}

std::string ReportCouplingLine(const ScopeSettings& s, int channel) {
    const int coupling = s.coupling(channel);
    std::string line = "Input Coupling = ";
    if (coupling >= 0 && coupling < static_cast<int>(scopetext::kCouplings.size()))
        line += scopetext::kCouplings[static_cast<std::size_t>(coupling)];
    return line;
}

std::string ReportMathLine(const SettingBlock& block) {
    const ScopeSettings s(block);
    const int op = s.mathOperator();
    // FFT works on one trace, its own source, not on sources A and B.
    if (op == kFftOperator) return std::string("Operate: FFT ") + sourceName(s.fftSource());
    const char* opText = op >= 0 && op < static_cast<int>(kOperators.size())
                             ? kOperators[static_cast<std::size_t>(op)]
                             : kOperators[0];
    return std::string("Operate: ") + sourceName(u32At(block, zelvo::layout::kMathSourceA)) +
           opText + sourceName(u32At(block, zelvo::layout::kMathSourceB));
}

}  // namespace oscilane
