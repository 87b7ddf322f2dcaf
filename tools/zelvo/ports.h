// zelvo ports: which device each serial port number stands for.
#pragma once

#include "verbs.h"

namespace zelvo::cli {

void addPortsVerb(CLI::App& parser, VerbTable& verbs);

}  // namespace zelvo::cli
