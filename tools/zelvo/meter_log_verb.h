// zelvo meter --log FILE: samples the meter at an interval and appends each
// reading as one log line to FILE, through the same readings model, writer
// and roll-over as the meter window's storage log.
#pragma once

#include <string>

#include "instrument_target.h"

namespace CLI {
class App;
}

namespace zelvo::cli {

struct MeterLogOptions {
    std::string file;  // empty: print one reading instead
    int intervalMs = 200;
    long count = 0;      // 0: no limit
    double seconds = 0;  // 0: no limit
};

// Adds --log, --interval, --count and --duration to the meter verb.
void addMeterLogOptions(CLI::App& meter, MeterLogOptions& options);

// Logs until the count is reached, the duration is over or SIGINT/SIGTERM
// arrives, then writes what it holds.  Exit 1 when the log cannot be
// written or the meter cannot be reached.
int runMeterLog(const InstrumentOptions& instrument, const MeterLogOptions& options);

}  // namespace zelvo::cli
