#include "capture_verb.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "channel_option.h"
#include "model/scope_settings.h"
#include "model/setting_block.h"
#include "model/waveform.h"
#include "model/waveform_file.h"

namespace zelvo::cli {
namespace {

struct CaptureOptions {
    int channel = oscilane::kCh1;
    std::string format = kDefaultCaptureFormat;
    std::string file;
};

const std::map<std::string, oscilane::WaveformFileFormat> kFormats = {
    {"txt", oscilane::WaveformFileFormat::Data}, {"csv", oscilane::WaveformFileFormat::Csv}};

constexpr const char* kAllChannelsNeedCsv =
    "the txt data file holds one trace: all channels go to --format csv";

int failed(const std::string& text) {
    std::fflush(stdout);
    std::fprintf(stderr, "zelvo: %s\n", text.c_str());
    return kExitInstrumentFailed;
}

int capture(const InstrumentOptions& instrumentOptions, const CaptureOptions& options) {
    if (options.channel == kAllChannels &&
        *captureFormatNamed(options.format) != oscilane::WaveformFileFormat::Csv) {
        std::fprintf(stderr, "zelvo: %s\n", kAllChannelsNeedCsv);
        return kExitUsage;
    }
    std::string failure;
    const auto instrument = Instrument::open(instrumentOptions.target(), &failure);
    if (!instrument) return failed(failure);

    oscilane::SettingBlock block{};
    if (DSOUploadSetting(instrument->handle(), block.data()) != 0) return failed(kUploadFailed);

    if (const auto unsaved =
            saveTrace(block, options.channel, *captureFormatNamed(options.format), options.file))
        return failed(*unsaved);
    if (options.channel == kAllChannels) {
        std::printf("all channels saved to %s\n", options.file.c_str());
        std::fflush(stdout);
        return kExitSuccess;
    }
    const oscilane::Waveform wave(block, options.channel);
    std::printf("%s %s to %s\n", channelName(options.channel),
                wave.shown() ? "saved" : "is off, \"CH OFF\" saved", options.file.c_str());
    std::fflush(stdout);
    return kExitSuccess;
}

}  // namespace

std::optional<oscilane::WaveformFileFormat> captureFormatNamed(const std::string& name) {
    const auto found = kFormats.find(name);
    if (found == kFormats.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> saveTrace(const oscilane::SettingBlock& block, int channel,
                                     oscilane::WaveformFileFormat format, const std::string& file) {
    const bool all = channel == kAllChannels;
    const oscilane::WaveformSaveResult saved =
        all ? oscilane::SaveAllChannelsCsv(block, file)
            : oscilane::SaveWaveformFile(oscilane::Waveform(block, channel), format, file);
    switch (saved.outcome) {
        case oscilane::WaveformSaveOutcome::Ok:
            return std::nullopt;
        case oscilane::WaveformSaveOutcome::ChannelOff:
            if (all) return "no channel is on: there are no samples for a CSV file";
            return std::string(channelName(channel)) + " is off: it has no samples for a CSV file";
        case oscilane::WaveformSaveOutcome::CannotOpen:
        case oscilane::WaveformSaveOutcome::CannotWrite:
            break;
    }
    return "cannot save " + file + ": " + saved.reason;
}

void addCaptureVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument) {
    static CaptureOptions options;
    CLI::App& verb = verbs.add(
        parser, "capture",
        "Upload the scope state once and save one trace: 'txt' is the scope window's data "
        "file, 'csv' a time_s,volts table.  A channel that is off saves \"CH OFF\" as txt and "
        "nothing as csv.  '--channel all --format csv' saves every trace in one "
        "time_s,CH1,CH2,MATH,REF table.",
        [&instrument] { return capture(instrument, options); });
    instrument.addTo(verb);
    addChannelOption(verb, options.channel, "the trace to save (all: every trace, as csv)",
                     ChannelChoice::OneTraceOrAll);
    verb.add_option("--format", options.format, "the file's layout")
        ->check(CLI::IsMember({"txt", "csv"}))
        ->capture_default_str();
    verb.add_option("FILE", options.file, "where the trace goes")->required();
}

}  // namespace zelvo::cli
