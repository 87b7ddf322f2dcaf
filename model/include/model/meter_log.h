// The meter's text files: one line per reading, in plain ASCII with CR LF
// line ends and a decimal point whatever the locale, so a log reads the same
// on every machine.  The storage log is only ever appended to; once a file
// reaches the roll-over size the writer moves on to a numbered sibling.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/meter_reading.h"

namespace oscilane {

// A log file at or above this size is never grown further.
inline constexpr uint64_t kLogRolloverBytes = 1'000'000'000;

// "V", "A", "R", "DIODE", "CONTI", and "CAP" for every other mode number.
std::string_view LogModeText(uint8_t measureMode);

// The ASCII prefix and unit of a log line joined, e.g. "KR" or "mV"; either
// part is empty for an index outside its table.
std::string UnitText(int32_t prefixIndex, int32_t unitIndex);

// "07/12/2026 10:20:30.45 R=12.50 KRDC" and CR LF: day, month, year, time with
// the hundredths cut (not rounded), mode, value with two decimals, unit, AC/DC.
std::string LogLine(const MeterReading& reading);

// The reading part of its log line, without time and line end ("R=12.50 KRDC").
std::string LogReadingText(const MeterReading& reading);

// The lines of a run of readings, oldest first.
std::string LogLines(std::span<const MeterReading> readings);

// The file a log goes to after `counter` roll-overs: the path itself for 0,
// else the number put before the last four characters ("m.txt", 1 gives
// "m-1.txt").  A file name of four characters or fewer gets the number at its
// end, so the number never lands in a folder name.
std::string RolloverName(const std::string& logPath, int counter);

// Appends batches of log text to the storage log, rolling over to numbered
// files.  The counter starts at 0 with each writer and is kept when the log
// path changes.  One writer belongs to one thread.
class LogFileWriter {
  public:
    explicit LogFileWriter(uint64_t rolloverBytes = kLogRolloverBytes);

    // Appends text to the current file of logPath.  Files at or above the
    // roll-over size are skipped (they are never truncated or grown); an
    // existing numbered file below it is appended to.  Returns the reason
    // when the text could not be written whole; then the file is left as it
    // was, so writing the same text again later duplicates nothing.
    std::optional<std::string> Append(const std::string& logPath, std::string_view text);

    // Opens (creating if needed) the file the next batch would go to and
    // closes it again, writing nothing: the reason when that fails, so that a
    // caller can refuse a log path before sampling starts.
    std::optional<std::string> Probe(const std::string& logPath);

    int Counter() const { return counter_; }

  private:
    // Opens the current file of logPath for appending, moving past full
    // files, and appends text (which may be empty).
    std::optional<std::string> appendText(const std::string& logPath, std::string_view text);

    uint64_t rolloverBytes_;
    int counter_ = 0;
};

// The readings as CSV for spreadsheets: a "time,value,unit,mode,acdc" header,
// then one row per reading with CR LF -- ISO 8601 local time with
// milliseconds, the value in base units (V, A, Ohm, F) and empty for an
// overload, the base unit, the log's mode text, "AC" or "DC".
std::string CsvText(std::span<const MeterReading> readings);

// Writes path so that it appears whole or not at all: the text goes to a
// temporary file in the same folder, which then replaces path.  Returns the
// reason on failure; path is then unchanged.
std::optional<std::string> WriteFileWhole(const std::string& path, std::string_view text);

}  // namespace oscilane
