#include "meter_log_verb.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <thread>

#include "model/meter_data.h"
#include "model/meter_log.h"
#include "model/meter_tables.h"
#include "verbs.h"

namespace zelvo::cli {
namespace {

using Clock = std::chrono::steady_clock;

// Sleeps are cut into slices so a signal ends the wait promptly.
constexpr auto kSlice = std::chrono::milliseconds(20);
// A meter that gives no reading for this long has gone away.
constexpr auto kSilenceLimit = std::chrono::seconds(5);
constexpr double kCentury = 100 * 365.25 * 86400;

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) { stopRequested = 1; }

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The duration row whose interval the writer's batching follows: the
// slowest one that is not slower than the chosen interval.
int durationIndexFor(int intervalMs) {
    int index = 0;
    for (std::size_t i = 0; i < oscilane::kRecordDurations.size(); ++i)
        if (oscilane::kRecordDurations[i].intervalMs <= intervalMs) index = static_cast<int>(i);
    return index;
}

void fail(const std::string& text) { std::fprintf(stderr, "zelvo: %s\n", text.c_str()); }

}  // namespace

void addMeterLogOptions(CLI::App& meter, MeterLogOptions& options) {
    auto* log = meter.add_option("--log", options.file, "append each reading as one line to FILE")
                    ->type_name("FILE");
    auto* interval = meter
                         .add_option("--interval", options.intervalMs,
                                     "milliseconds between readings (at least 100)")
                         ->type_name("MS")
                         ->capture_default_str();
    auto* count = meter.add_option("--count", options.count, "stop after N readings")
                      ->type_name("N")
                      ->check(CLI::PositiveNumber);
    auto* duration =
        meter.add_option("--duration", options.seconds, "stop after this many seconds")
            ->type_name("SECONDS")
            ->check(CLI::PositiveNumber);
    count->excludes(duration);
    for (CLI::Option* o : {interval, count, duration}) o->needs(log);
}

std::optional<std::string> meterLogProblem(const MeterLogOptions& options) {
    if (options.intervalMs < kMinimumLogIntervalMs)
        throw UsageError("--interval must be at least " + std::to_string(kMinimumLogIntervalMs) +
                         " milliseconds");
    oscilane::LogFileWriter writer;
    if (const auto reason = writer.Probe(options.file))
        return "cannot write the log file " + *reason;
    return std::nullopt;
}

MeterLogResult logMeter(const MeterRead& read, const MeterLogOptions& options,
                        const std::function<bool()>& stop, bool progress) {
    oscilane::LogFileWriter writer;
    oscilane::MeterData data;
    data.SetLogPath(options.file);
    data.SetDuration(durationIndexFor(options.intervalMs));
    data.SetStorage(true);

    const auto interval = std::chrono::milliseconds(options.intervalMs);
    const Clock::time_point start = Clock::now();
    // No duration, or one beyond the clock's range (a century): no end.
    const Clock::time_point end = options.seconds > 0 && options.seconds < kCentury
                                      ? start + std::chrono::duration_cast<Clock::duration>(
                                                    std::chrono::duration<double>(options.seconds))
                                      : Clock::time_point::max();
    Clock::time_point lastGood = start;
    Clock::time_point due = start;
    MeterLogResult result;
    bool stopped = false;
    bool silent = false;
    std::optional<std::string> reportedError;

    while (!(stopped = stop()) && (options.count == 0 || result.taken < options.count)) {
        while (!(stopped = stop()) && Clock::now() < due) std::this_thread::sleep_for(kSlice);
        if (stopped || Clock::now() >= end) break;
        due += interval;

        if (data.Poll(read))
            lastGood = Clock::now();
        else if (Clock::now() - lastGood > kSilenceLimit) {
            silent = true;
            break;
        }
        if (!data.HasReading()) continue;
        if (data.Sample()) data.WriteHandedOver(writer);
        ++result.taken;

        // The writer keeps what it could not write; say so once per reason.
        const std::optional<std::string> error = data.LastLogError();
        if (error && error != reportedError) {
            if (progress) std::fputc('\n', stderr);
            fail(*error);
        }
        reportedError = error;
        if (progress) {
            const std::vector<oscilane::MeterReading> trend = data.Trend();
            if (!trend.empty())
                std::fprintf(stderr, "\r%ld readings, last %s   ", result.taken,
                             oscilane::LogReadingText(trend.back()).c_str());
        }
    }
    if (progress) std::fputc('\n', stderr);

    // Everything sampled goes to the log before the command ends.
    data.HandOver();
    if (!data.WriteHandedOver(writer)) {
        result.logFailed = true;
        result.failure = data.LastLogError().value_or("the log file could not be written") + " (" +
                         std::to_string(data.UnwrittenReadings()) + " readings not written)";
    } else if (silent)
        result.failure = "the meter stopped answering";
    else if (result.taken == 0 && !stopped)
        result.failure = kNoMeterReading;
    return result;
}

int runMeterLog(const InstrumentOptions& instrument, const MeterLogOptions& options) {
    const InstrumentTarget target = instrument.target();
    // A log that cannot be written fails the command before any sampling.
    if (const auto problem = meterLogProblem(options)) {
        fail(*problem);
        return kExitInstrumentFailed;
    }
    std::string failure;
    const auto meter = Instrument::open(target, &failure);
    if (!meter) {
        fail(failure);
        return kExitInstrumentFailed;
    }
    const DeviceHandle h = meter->handle();
    catchStopSignals();
    const MeterLogResult result =
        logMeter([h](DmmInfo* record) { return DMMGetInfo(h, record); }, options,
                 [] { return stopRequested != 0; }, isatty(STDERR_FILENO) != 0);
    if (result.failure) {
        fail(*result.failure);
        return kExitInstrumentFailed;
    }
    std::printf("%ld readings logged to %s\n", result.taken, options.file.c_str());
    std::fflush(stdout);
    return kExitSuccess;
}

}  // namespace zelvo::cli
