#include "model/acquisition_history.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "model/waveform.h"

namespace oscilane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kCsvHeader = "block,time_stamp,time_s,CH1,CH2,MATH,REF";
constexpr int kTraces = 4;
constexpr int kVoltDecimals = 6;
constexpr int kTimeDigits = 9;
constexpr auto kCapacity = static_cast<std::size_t>(AcquisitionHistory::kCapacity);

}  // namespace

AcquisitionHistory::AcquisitionHistory() : blocks_(kCapacity), times_(kCapacity) {}

void AcquisitionHistory::record(const SettingBlock& block, Clock::time_point at) {
    blocks_[next_] = block;
    times_[next_] = at;
    next_ = (next_ + 1) % kCapacity;
    if (count_ < kCapacity) ++count_;
    ++recorded_;
}

std::size_t AcquisitionHistory::slotOf(int position) const {
    return (next_ + kCapacity - static_cast<std::size_t>(count_) +
            static_cast<std::size_t>(position)) %
           kCapacity;
}

const SettingBlock& AcquisitionHistory::block(int position) const {
    return blocks_[slotOf(position)];
}

AcquisitionHistory::Clock::time_point AcquisitionHistory::time(int position) const {
    return times_[slotOf(position)];
}

uint64_t AcquisitionHistory::sequenceAt(int position) const {
    return oldestSequence() + static_cast<uint64_t>(position);
}

std::optional<int> AcquisitionHistory::positionOf(uint64_t sequence) const {
    if (sequence < oldestSequence() || sequence >= recorded_) return std::nullopt;
    return static_cast<int>(sequence - oldestSequence());
}

std::string LocalTimeText(AcquisitionHistory::Clock::time_point at) {
    using namespace std::chrono;
    const auto since = at.time_since_epoch();
    // Whole seconds rounded down, so a time before the epoch keeps its
    // hundredths within the second it falls in.
    const auto whole = floor<std::chrono::seconds>(since);
    const std::time_t seconds = whole.count();
    const auto centis = duration_cast<milliseconds>(since - whole).count() / 10;
    std::tm local{};
    localtime_r(&seconds, &local);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d.%02d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(centis));
    return text.data();
}

std::string HistoryMark(int position, AcquisitionHistory::Clock::time_point at) {
    return "History " + std::to_string(position + 1) + "/" +
           std::to_string(AcquisitionHistory::kCapacity) + " " + LocalTimeText(at);
}

std::string HistoryCsvText(const AcquisitionHistory& history) {
    std::string text;
    text.reserve(kCsvHeader.size() + std::size_t{2} +
                 static_cast<std::size_t>(history.size()) * Waveform::kSamples * 80);
    text.append(kCsvHeader).append(kLineEnd);
    for (int p = 0; p < history.size(); ++p) {
        const SettingBlock& block = history.block(p);
        const std::string lead = std::to_string(p + 1) + "," + LocalTimeText(history.time(p)) + ",";
        const double interval =
            SampleIntervalSeconds(ScopeSettings(block).timeBase()).value_or(0.0);
        const std::array<Waveform, kTraces> waves = {Waveform(block, kCh1), Waveform(block, kCh2),
                                                     Waveform(block, kMath), Waveform(block, kRef)};
        for (int i = 0; i < Waveform::kSamples; ++i) {
            text.append(lead).append(GeneralText(i * interval, kTimeDigits));
            for (const Waveform& wave : waves) {
                text.append(",");
                if (wave.shown() && !wave.blank(i))
                    text.append(FixedText(wave.volts(i), kVoltDecimals));
            }
            text.append(kLineEnd);
        }
    }
    return text;
}

std::optional<WholeFileFailure> SaveHistoryCsv(const AcquisitionHistory& history,
                                               const std::filesystem::path& path) {
    return WriteWholeFile(path, HistoryCsvText(history));
}

}  // namespace oscilane
