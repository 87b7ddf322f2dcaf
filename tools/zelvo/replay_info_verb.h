// zelvo replay-info FILE: what a session recording (ZELVO_RECORD) holds, the
// first thing to look at in a recording a user sent.
#pragma once

#include "verbs.h"

namespace zelvo::cli {

void addReplayInfoVerb(CLI::App& parser, VerbTable& verbs);

}  // namespace zelvo::cli
