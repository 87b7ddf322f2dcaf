// zelvo meter --log FILE: samples the meter at an interval and appends each
// reading as one log line to FILE, through the same readings model, writer
// and roll-over as the meter window's storage log.
#pragma once

#include <functional>
#include <optional>
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

inline constexpr int kMinimumLogIntervalMs = 100;

// Why the log cannot start: the reason when its file cannot be written.
// Throws UsageError for an interval below the minimum.
std::optional<std::string> meterLogProblem(const MeterLogOptions& options);

// How a log ended: the readings logged, and the one-line reason when it
// failed (the meter fell silent or never answered, or the log could not be
// written: logFailed).
struct MeterLogResult {
    long taken = 0;
    std::optional<std::string> failure;
    bool logFailed = false;
};

// Reads one meter record into its argument, 0 on success (DMMGetInfo bound
// to an open instrument).
using MeterRead = std::function<int(DmmInfo*)>;

// Logs the readings of an open meter (options checked by meterLogProblem)
// until the count is reached, the duration is over or stop() returns true;
// then writes everything it holds.  A reason the writer keeps readings back
// is reported on standard error once; progress goes there when asked.
MeterLogResult logMeter(const MeterRead& read, const MeterLogOptions& options,
                        const std::function<bool()>& stop, bool progress);

// The verb: opens the instrument and logs until the count or duration or
// SIGINT/SIGTERM.  Exit 1 when the log cannot be written or the meter cannot
// be reached.
int runMeterLog(const InstrumentOptions& instrument, const MeterLogOptions& options);

}  // namespace zelvo::cli
