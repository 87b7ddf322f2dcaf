#include "model/waveform_file.h"

#include <array>
#include <cctype>

#include "model/capture_file.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "model/whole_file.h"

namespace oscilane {
namespace {

constexpr std::array<std::string_view, 4> kChannelNames = {"CH1", "CH2", "MATH", "REF"};

WaveformSaveResult saveText(const std::string& text, const std::filesystem::path& path) {
    const auto failed = WriteWholeFile(path, text);
    if (!failed) return {};
    return {failed->stage == WholeFileStage::Open ? WaveformSaveOutcome::CannotOpen
                                                  : WaveformSaveOutcome::CannotWrite,
            failed->systemMessage()};
}

CaptureTrace traceOf(const Waveform& wave) {
    CaptureTrace trace{wave.channel(), {}};
    trace.volts.reserve(Waveform::kSamples);
    for (int i = 0; i < Waveform::kSamples; ++i)
        trace.volts.push_back(wave.blank(i) ? std::nullopt : std::optional(wave.volts(i)));
    return trace;
}

// The clock of a time base, 0 outside the table.
Capture clockedCapture(CaptureFormat format, int timeBaseIndex) {
    Capture capture;
    capture.format = format;
    capture.secondsPerDivision = SecondsPerDivision(timeBaseIndex).value_or(0.0);
    if (SecondsPerDivision(timeBaseIndex)) capture.timeBaseIndex = timeBaseIndex;
    return capture;
}

Capture singleCapture(const Waveform& wave, CaptureFormat format) {
    Capture capture = clockedCapture(format, wave.timeBaseIndex());
    capture.traces.push_back(traceOf(wave));
    return capture;
}

}  // namespace

std::string_view WaveformChannelName(int channel) {
    if (channel < 0 || channel >= static_cast<int>(kChannelNames.size())) return {};
    return kChannelNames[static_cast<std::size_t>(channel)];
}

std::string WaveformDataText(const Waveform& wave) {
    if (!wave.shown()) return "CH OFF\r\n\r\n";
    return CaptureText(singleCapture(wave, CaptureFormat::Data));
}

std::string WaveformCsvText(const Waveform& wave) {
    return CaptureText(singleCapture(wave, CaptureFormat::Csv));
}

std::string AllChannelsCsvText(const SettingBlock& block) {
    Capture capture =
        clockedCapture(CaptureFormat::AllChannelsCsv, ScopeSettings(block).timeBase());
    for (int c = 0; c < static_cast<int>(kChannelNames.size()); ++c) {
        const Waveform wave(block, c);
        if (wave.shown()) capture.traces.push_back(traceOf(wave));
    }
    return CaptureText(capture);
}

WaveformSaveResult SaveWaveformFile(const Waveform& wave, WaveformFileFormat format,
                                    const std::filesystem::path& path) {
    if (format == WaveformFileFormat::Csv && !wave.shown())
        return {WaveformSaveOutcome::ChannelOff, {}};
    return saveText(
        format == WaveformFileFormat::Csv ? WaveformCsvText(wave) : WaveformDataText(wave), path);
}

WaveformSaveResult SaveAllChannelsCsv(const SettingBlock& block,
                                      const std::filesystem::path& path) {
    bool anyShown = false;
    for (int c = 0; c < static_cast<int>(kChannelNames.size()); ++c)
        anyShown = anyShown || Waveform(block, c).shown();
    if (!anyShown) return {WaveformSaveOutcome::ChannelOff, {}};
    return saveText(AllChannelsCsvText(block), path);
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
