// zelvo measure: uploads one setting block and prints the 22 automatic
// measurements of one channel, as the window's texts or as CSV values.
#pragma once

#include "instrument_target.h"
#include "verbs.h"

namespace zelvo::cli {

void addMeasureVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument);

}  // namespace zelvo::cli
