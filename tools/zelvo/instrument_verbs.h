// zelvo info, meter, settings, screen and all: what the instrument reports
// about itself, one meter reading, a summary of the scope state and a picture
// of its screen.
#pragma once

#include <string>

#include "instrument_target.h"
#include "meter_log_verb.h"
#include "verbs.h"

namespace zelvo::cli {

struct InstrumentVerbOptions {
    InstrumentOptions instrument;
    std::string screenFile = "zelvo-screen.bmp";
    MeterLogOptions meterLog;
};

// Adds the verbs; "all" is also what runs when no verb is named.
void addInstrumentVerbs(CLI::App& parser, VerbTable& verbs, InstrumentVerbOptions& options);
// Adds --screen FILE to a command.
void addScreenOption(CLI::App& command, InstrumentVerbOptions& options);

}  // namespace zelvo::cli
