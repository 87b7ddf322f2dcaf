// zelvo gen: designs a generator waveform from the command line and writes
// its CSV file, without an instrument.
#pragma once

#include "verbs.h"

namespace zelvo::cli {

void addGenVerb(CLI::App& parser, VerbTable& verbs);

}  // namespace zelvo::cli
