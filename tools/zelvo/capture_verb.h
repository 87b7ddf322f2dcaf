// zelvo capture: uploads one setting block and saves one trace of it as the
// scope window's data file or as CSV, through the same writer as the window.
#pragma once

#include "instrument_target.h"
#include "verbs.h"

namespace zelvo::cli {

// Adds the verb; its instrument options are the shared ones.
void addCaptureVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument);

}  // namespace zelvo::cli
