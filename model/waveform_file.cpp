#include "model/waveform_file.h"

#include <array>
#include <cctype>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/whole_file.h"

namespace oscilane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::array<std::string_view, 4> kChannelNames = {"CH1", "CH2", "MATH", "REF"};
constexpr int kVoltDecimals = 6;  // as "%f" writes them
constexpr int kClockDecimals = 9;
constexpr int kTimeDigits = 9;
// A blanked sample's line in the data file: what "%f" writes for a quiet NaN.
constexpr std::string_view kNoVolts = "nan";

}  // namespace

std::string_view WaveformChannelName(int channel) {
    if (channel < 0 || channel >= static_cast<int>(kChannelNames.size())) return {};
    return kChannelNames[static_cast<std::size_t>(channel)];
}

std::string WaveformDataText(const Waveform& wave) {
    std::string text;
    if (!wave.shown()) {
        text.append("CH OFF").append(kLineEnd).append(kLineEnd);
        return text;
    }
    text.reserve(100 + Waveform::kSamples * std::size_t{12});
    text.append("#CHANNEL:").append(WaveformChannelName(wave.channel())).append(kLineEnd);
    text.append("#CLOCK=")
        .append(FixedText(SecondsPerDivision(wave.timeBaseIndex()).value_or(0.0), kClockDecimals))
        .append("S")
        .append(kLineEnd);
    text.append("#SIZE=").append(std::to_string(Waveform::kSamples)).append(kLineEnd);
    text.append("#UNITS:V").append(kLineEnd).append(kLineEnd);
    for (int i = 0; i < Waveform::kSamples; ++i) {
        if (wave.blank(i))
            text.append(kNoVolts);
        else
            text.append(FixedText(wave.volts(i), kVoltDecimals));
        text.append(kLineEnd);
    }
    return text;
}

std::string WaveformCsvText(const Waveform& wave) {
    const double interval = wave.sampleInterval().value_or(0.0);
    std::string text;
    text.reserve(20 + Waveform::kSamples * std::size_t{28});
    text.append("time_s,volts").append(kLineEnd);
    for (int i = 0; i < Waveform::kSamples; ++i) {
        text.append(GeneralText(i * interval, kTimeDigits)).append(",");
        if (!wave.blank(i)) text.append(FixedText(wave.volts(i), kVoltDecimals));
        text.append(kLineEnd);
    }
    return text;
}

WaveformSaveResult SaveWaveformFile(const Waveform& wave, WaveformFileFormat format,
                                    const std::filesystem::path& path) {
    if (format == WaveformFileFormat::Csv && !wave.shown())
        return {WaveformSaveOutcome::ChannelOff, {}};
    const std::string text =
        format == WaveformFileFormat::Csv ? WaveformCsvText(wave) : WaveformDataText(wave);
    const auto failed = WriteWholeFile(path, text);
    if (!failed) return {};
    return {failed->stage == WholeFileStage::Open ? WaveformSaveOutcome::CannotOpen
                                                  : WaveformSaveOutcome::CannotWrite,
            failed->systemMessage()};
}

WaveformFileFormat WaveformFormatForName(std::string_view fileName) {
    constexpr std::string_view kCsv = ".csv";
    if (fileName.size() < kCsv.size()) return WaveformFileFormat::Data;
    const std::string_view tail = fileName.substr(fileName.size() - kCsv.size());
    for (std::size_t i = 0; i < kCsv.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kCsv[i])
            return WaveformFileFormat::Data;
    return WaveformFileFormat::Csv;
}

}  // namespace oscilane
