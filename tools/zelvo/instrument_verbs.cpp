#include "instrument_verbs.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <vector>

#include "model/whole_file.h"
#include "summary.h"

namespace zelvo::cli {
namespace {

enum Part : unsigned { kInfo = 1, kMeter = 2, kSettings = 4, kScreen = 8 };
constexpr unsigned kAllParts = kInfo | kMeter | kSettings | kScreen;

// Prints the answer to a request, or says on standard error that it failed
// (after what came before it); returns ok.
bool say(bool ok, const std::string& answer, const std::string& failure) {
    if (ok) {
        std::fputs(answer.c_str(), stdout);
    } else {
        std::fflush(stdout);
        std::fprintf(stderr, "zelvo: %s\n", failure.c_str());
    }
    return ok;
}

// Opens the instrument, asks for the parts and closes it again.
int ask(const InstrumentVerbOptions& options, unsigned parts) {
    std::string failure;
    const auto instrument = Instrument::open(options.instrument.target(), &failure);
    if (!instrument) {
        std::fprintf(stderr, "zelvo: %s\n", failure.c_str());
        return kExitInstrumentFailed;
    }
    const DeviceHandle h = instrument->handle();
    bool ok = true;
    if (parts & kInfo) {
        DeviceInfo info{};
        const bool read = KwGetDeviceInfo(h, &info) == 0;
        ok &= say(read, read ? describeDeviceInfo(info) : "", kDeviceInfoFailed);
    }
    if (parts & kMeter) {
        DmmInfo reading{};
        const bool read = DMMGetInfo(h, &reading) == 0;
        ok &= say(read, read ? describeMeterReading(reading) : "", kNoMeterReading);
    }
    if (parts & kSettings) {
        std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
        const bool read = DSOUploadSetting(h, block.data()) == 0;
        ok &= say(read, read ? describeSettingBlock(block) : "", kUploadFailed);
    }
    if (parts & kScreen) {
        // The library writes the file and says only that it failed: a file
        // that cannot be written is found out first, so its reason is told.
        if (const auto unwritable = oscilane::CheckWholeFileWritable(options.screenFile)) {
            ok &= say(false, "",
                      "cannot save " + options.screenFile + ": " + unwritable->systemMessage());
        } else {
            const bool saved = KwScreenShoot(h, options.screenFile.c_str()) == 0;
            ok &= say(saved, "screen saved to " + options.screenFile + "\n",
                      "the instrument's screen could not be read into " + options.screenFile);
        }
    }
    std::fflush(stdout);
    return ok ? kExitSuccess : kExitInstrumentFailed;
}

}  // namespace

void addScreenOption(CLI::App& command, InstrumentVerbOptions& options) {
    command.add_option("--screen", options.screenFile, "where the screen picture goes")
        ->type_name("FILE")
        ->capture_default_str();
}

void addInstrumentVerbs(CLI::App& parser, VerbTable& verbs, InstrumentVerbOptions& options) {
    struct Verb {
        const char* name;
        const char* description;
        unsigned parts;
    };
    static constexpr Verb kVerbs[] = {
        {"info", "Show the instrument's name, serial number, build date and ids.", kInfo},
        {"meter", "Show one meter reading, or log readings to a file with --log.", kMeter},
        {"settings", "Show the scope state: time base, channels and the range of each trace.",
         kSettings},
        {"screen", "Save the instrument's screen as a 320 x 240 bitmap file.", kScreen},
        {"all", "Everything above, in that order (also what runs without a verb).", kAllParts},
    };
    for (const Verb& v : kVerbs) {
        const unsigned parts = v.parts;
        CLI::App& verb = verbs.add(parser, v.name, v.description, [&options, parts] {
            if (parts == kMeter && !options.meterLog.file.empty())
                return runMeterLog(options.instrument, options.meterLog);
            return ask(options, parts);
        });
        options.instrument.addTo(verb);
        if (parts == kMeter) addMeterLogOptions(verb, options.meterLog);
        if (parts & kScreen) addScreenOption(verb, options);
    }
}

}  // namespace zelvo::cli
