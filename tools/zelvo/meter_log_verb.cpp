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

constexpr int kMinimumIntervalMs = 100;
// Sleeps are cut into slices so a signal ends the wait promptly.
constexpr auto kSlice = std::chrono::milliseconds(20);
// A meter that gives no reading for this long has gone away.
constexpr auto kSilenceLimit = std::chrono::seconds(5);

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

int runMeterLog(const InstrumentOptions& instrument, const MeterLogOptions& options) {
    if (options.intervalMs < kMinimumIntervalMs)
        throw UsageError("--interval must be at least 100 milliseconds");
    const InstrumentTarget target = instrument.target();

    // A log that cannot be written fails the command before any sampling.
    oscilane::LogFileWriter writer;
    if (const auto reason = writer.Probe(options.file)) {
        fail("cannot write the log file " + *reason);
        return kExitInstrumentFailed;
    }
    std::string failure;
    const auto meter = Instrument::open(target, &failure);
    if (!meter) {
        fail(failure);
        return kExitInstrumentFailed;
    }
    const DeviceHandle h = meter->handle();

    oscilane::MeterData data;
    data.SetLogPath(options.file);
    data.SetDuration(durationIndexFor(options.intervalMs));
    data.SetStorage(true);
    catchStopSignals();

    const bool progress = isatty(STDERR_FILENO) != 0;
    const auto interval = std::chrono::milliseconds(options.intervalMs);
    const Clock::time_point start = Clock::now();
    const std::optional<Clock::time_point> end =
        options.seconds > 0
            ? std::optional(start + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(options.seconds)))
            : std::nullopt;
    Clock::time_point lastGood = start;
    Clock::time_point due = start;
    long taken = 0;
    bool silent = false;
    std::optional<std::string> reportedError;

    while (!stopRequested && (options.count == 0 || taken < options.count)) {
        while (!stopRequested && Clock::now() < due) std::this_thread::sleep_for(kSlice);
        if (stopRequested || (end && Clock::now() >= *end)) break;
        due += interval;

        if (data.Poll([h](DmmInfo* record) { return DMMGetInfo(h, record); }))
            lastGood = Clock::now();
        else if (Clock::now() - lastGood > kSilenceLimit) {
            silent = true;
            break;
        }
        if (!data.HasReading()) continue;
        if (data.Sample()) data.WriteHandedOver(writer);
        ++taken;

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
                std::fprintf(stderr, "\r%ld readings, last %s   ", taken,
                             oscilane::LogReadingText(trend.back()).c_str());
        }
    }
    if (progress) std::fputc('\n', stderr);

    // Everything sampled goes to the log before the command ends.
    data.HandOver();
    const bool written = data.WriteHandedOver(writer);
    if (!written) {
        fail(data.LastLogError().value_or("the log file could not be written") + " (" +
             std::to_string(data.UnwrittenReadings()) + " readings not written)");
        return kExitInstrumentFailed;
    }
    if (silent) {
        fail("the meter stopped answering");
        return kExitInstrumentFailed;
    }
    if (taken == 0 && !stopRequested) {
        fail(kNoMeterReading);
        return kExitInstrumentFailed;
    }
    std::printf("%ld readings logged to %s\n", taken, options.file.c_str());
    std::fflush(stdout);
    return kExitSuccess;
}

}  // namespace zelvo::cli
