#include "client.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "capture_verb.h"
#include "gen_verb.h"
#include "instrument_verbs.h"
#include "measure_verb.h"
#include "ports.h"
#include "replay_info_verb.h"
#include "setup_verb.h"
#include "usb_scan.h"
#include "verbs.h"
#include "zelvo_version.h"

namespace zelvo::cli {
namespace {

int usageError(std::string text) {
    for (char& c : text)
        if (c == '\n') c = ' ';
    std::fprintf(stderr, "zelvo: %s (zelvo --help tells more)\n", text.c_str());
    return kExitUsage;
}

}  // namespace

int runClient(int argc, const char* const* argv) {
    CLI::App parser(
        "Asks a Zelvo instrument for its information, a meter reading and its scope state, "
        "and saves its screen.  Without a verb, does 'all'.  The instrument options may come "
        "before or after the verb.\n"
        "Exit status: 0 success, 1 the instrument failed, 2 a usage error or a refused setup file.",
        "zelvo");
    // Options given after a verb that the verb lacks (--screen after info) are the parser's.
    parser.fallthrough();
    parser.set_version_flag("--version", "zelvo " ZELVO_VERSION);
    parser.require_subcommand(0, 1);

    InstrumentVerbOptions options;
    options.instrument.addTo(parser);
    addScreenOption(parser, options);
    VerbTable verbs;
    addInstrumentVerbs(parser, verbs, options);
    addMeasureVerb(parser, verbs, options.instrument);
    addPortsVerb(parser, verbs);
    addReplayInfoVerb(parser, verbs);
    addUsbScanVerb(parser, verbs);
    addGenVerb(parser, verbs);
    addCaptureVerb(parser, verbs, options.instrument);
    addSetupVerb(parser, verbs, options.instrument);

    try {
        parser.parse(argc, argv);
        VerbRun run = verbs.chosen(parser);
        return run ? run() : verbs.named("all")();
    } catch (const CLI::ExtrasError& e) {
        // Without a verb, the first word left over is a mistyped one.
        const std::vector<std::string> extras = parser.remaining();
        if (parser.get_subcommands().empty() && !extras.empty())
            return usageError("'" + extras.front() + "' is not a verb: the verbs are " +
                              verbs.namesText());
        return usageError(e.what());
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return parser.exit(e);  // --help
        return usageError(e.what());
    } catch (const UsageError& e) {
        return usageError(e.what());
    }
}

}  // namespace zelvo::cli
