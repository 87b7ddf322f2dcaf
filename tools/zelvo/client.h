// zelvo: drives an instrument from the command line through libZelvoDLL.
// Each verb is a subcommand with its own --help; the verb files add theirs
// to the parser in runClient, which the program and the Python package's
// "python3 -m zelvo" both run.
#pragma once

namespace zelvo::cli {

// Parses the command line (argv[0] the program's name), runs the verb and
// returns the exit status.
int runClient(int argc, const char* const* argv);

}  // namespace zelvo::cli
