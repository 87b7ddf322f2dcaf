#include "measure_verb.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "channel_option.h"
#include "model/measure_set.h"
#include "model/scope_settings.h"

namespace zelvo::cli {
namespace {

struct MeasureOptions {
    int channel = oscilane::kCh1;
    bool csv = false;
};

int measure(const InstrumentOptions& instrument, const MeasureOptions& options) {
    std::string failure;
    const auto opened = Instrument::open(instrument.target(), &failure);
    if (!opened) {
        std::fprintf(stderr, "zelvo: %s\n", failure.c_str());
        return kExitInstrumentFailed;
    }
    oscilane::SettingBlock block{};
    if (DSOUploadSetting(opened->handle(), block.data()) != 0) {
        std::fprintf(stderr, "zelvo: %s\n", kUploadFailed);
        return kExitInstrumentFailed;
    }
    const auto results = oscilane::measureChannel(block, options.channel);
    std::string out;
    if (options.csv) out = std::string(oscilane::measuretext::kCsvHeader) + "\n";
    for (int k = 0; k < oscilane::kMeasureKindCount; ++k) {
        const oscilane::MeasureResult& r = results[static_cast<std::size_t>(k)];
        if (options.csv) {
            const auto& text = oscilane::kindText(static_cast<oscilane::MeasureKind>(k));
            out += std::string(text.csvName) + "," + oscilane::MeasureCsvValue(r.value) + "," +
                   text.csvUnit + "\n";
        } else {
            out += r.text + "\n";
        }
    }
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    return kExitSuccess;
}

}  // namespace

void addMeasureVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument) {
    auto options = std::make_shared<MeasureOptions>();
    CLI::App& verb = verbs.add(
        parser, "measure",
        "Upload the scope state once and print the 22 automatic measurements of a channel, "
        "as the window shows them (or as name,value,unit lines in volts, seconds, hertz and "
        "plain ratios with --csv; an empty value where the window shows *****).",
        [&instrument, options] { return measure(instrument, *options); });
    instrument.addTo(verb);
    addChannelOption(verb, options->channel, "the channel measured");
    verb.add_flag("--csv", options->csv, "print name,value,unit lines");
}

}  // namespace zelvo::cli
