#include "model/scope_scales.h"

#include <array>

namespace oscilane {

std::optional<double> MillivoltsPerDivision(int voltsIndex) {
    if (voltsIndex < 0 || voltsIndex >= kVoltsIndexCount) return std::nullopt;
    return zelvo::tables::kMillivoltsPerDivision[static_cast<std::size_t>(voltsIndex)];
}

int ProbeFactor(int probeIndex) {
    if (probeIndex < 0 || probeIndex > 3) return 1;
    return zelvo::tables::kProbeFactor[static_cast<std::size_t>(probeIndex)];
}

std::optional<double> SecondsPerDivision(int timeBaseIndex) {
    if (timeBaseIndex < 0 || timeBaseIndex >= kTimeBaseIndexCount) return std::nullopt;
    return zelvo::tables::timeBaseSeconds(timeBaseIndex);
}

std::optional<double> SamplesPerSecond(int timeBaseIndex) {
    // Written out rather than divided, so every rate is an exact round number.
    static constexpr std::array<double, kTimeBaseIndexCount> kRates = {
        2e12, 1e12, 5e11, 2e11, 1e11, 5e10, 2e10, 1e10, 5e9, 2e9, 1e9, 5e8, 2e8,
        1e8,  5e7,  2e7,  1e7,  5e6,  2e6,  1e6,  5e5,  2e5, 1e5, 5e4, 2e4, 1e4,
        5e3,  2e3,  1e3,  500,  200,  100,  50,   20,   10,  5,   2,   1};
    if (timeBaseIndex < 0 || timeBaseIndex >= kTimeBaseIndexCount) return std::nullopt;
    return kRates[static_cast<std::size_t>(timeBaseIndex)];
}

std::optional<double> FftSampleRate(const ScopeSettings& s) {
    return SamplesPerSecond(s.timeBaseOf(s.fftSource() == kCh2 ? kCh2 : kCh1));
}

std::optional<int> FftDecibelsPerDivision(int dbIndex) {
    static constexpr std::array<int, 7> kSteps = {1, 2, 5, 10, 20, 50, 100};
    if (dbIndex < 0 || dbIndex >= static_cast<int>(kSteps.size())) return std::nullopt;
    return kSteps[static_cast<std::size_t>(dbIndex)];
}

std::string SampleRateText(int timeBaseIndex, bool bothChannelsShown, bool altTrigger) {
    static constexpr std::array<const char*, 25> kFrom13 = {
        "75MSa/s",  "50MSa/s",  "20MSa/s",  "10MSa/s", "5MSa/s",  "2MSa/s",  "1MSa/s",
        "500KSa/s", "200KSa/s", "100KSa/s", "50KSa/s", "20KSa/s", "10KSa/s", "5KSa/s",
        "2KSa/s",   "1KSa/s",   "500Sa/s",  "200Sa/s", "100Sa/s", "50Sa/s",  "20Sa/s",
        "10Sa/s",   "5Sa/s",    "2Sa/s",    "1Sa/s"};
    if (timeBaseIndex < 3) return {};
    if (timeBaseIndex <= 12) return bothChannelsShown && !altTrigger ? "75MSa/s" : "150MSa/s";
    if (timeBaseIndex < kTimeBaseIndexCount)
        return kFrom13[static_cast<std::size_t>(timeBaseIndex - 13)];
    return "0Sa/s";
}

std::string SampleRateText(const ScopeSettings& s, int timeBaseIndex) {
    return SampleRateText(timeBaseIndex, s.shown(kCh1) && s.shown(kCh2), s.altTrigger());
}

int TimeListPosition(int timeBaseIndex) {
    constexpr int kFirst = 2;
    if (timeBaseIndex < kFirst || timeBaseIndex >= kTimeBaseIndexCount) return -1;
    return timeBaseIndex - kFirst;
}

double ZeroCodeOfLever(int lever) {
    return kCodeMax - lever * static_cast<double>(kCodeMax) / kLeverMax;
}

double CodeMillivolts(int code, int lever, double millivoltsPerDivision, int probeFactor) {
    return (code - ZeroCodeOfLever(lever)) * millivoltsPerDivision * 8 / kCodeMax * probeFactor;
}

std::optional<double> SampleMillivolts(const ScopeSettings& s, int channel, int code) {
    const std::optional<double> perDivision = MillivoltsPerDivision(s.voltsIndex(channel));
    if (!perDivision) return std::nullopt;
    return CodeMillivolts(code, s.position(channel), *perDivision, ProbeFactor(s.probe(channel)));
}

std::optional<double> SampleIntervalSeconds(int timeBaseIndex) {
    const std::optional<double> perDivision = SecondsPerDivision(timeBaseIndex);
    if (!perDivision) return std::nullopt;
    return *perDivision / zelvo::tables::kSamplesPerDivision;
}

}  // namespace oscilane
