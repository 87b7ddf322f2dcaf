#include "model/meter_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <system_error>

#include "model/formatting.h"
#include "model/meter_display_rules.h"
#include "model/meter_tables.h"
#include "model/whole_file.h"

namespace oscilane {
namespace {

constexpr std::array<std::string_view, 7> kLogPrefixes{"p", "n", "u", "m", "K", "M", "G"};
constexpr std::array<std::string_view, 4> kLogUnits{"V", "A", "R", "F"};
constexpr std::array<std::string_view, 5> kLogModes{"V", "A", "R", "DIODE", "CONTI"};

// The text of index in table, empty outside it.
template <std::size_t N>
std::string_view entryOrEmpty(const std::array<std::string_view, N>& table, int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
    return table[static_cast<std::size_t>(index)];
}

std::string reasonOf(const std::string& file, int error) {
    return file + ": " + std::generic_category().message(error);
}

// Writes all of text to fd; false with errno set when that failed.
bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The reading's value in base units, from the float's shortest decimal form
// so that 1.234 mV gives 0.001234 rather than a binary approximation of it.
std::string baseValueText(float value, int32_t prefixIndex) {
    std::array<char, 64> text{};
    auto scientific =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific);
    std::string_view written(text.data(), static_cast<std::size_t>(scientific.ptr - text.data()));
    std::size_t e = written.find('e');
    if (scientific.ec != std::errc() || e == std::string_view::npos) return {};
    std::string_view exponentText = written.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    std::string shifted = std::string(written.substr(0, e)) + "e" +
                          std::to_string(exponent + PrefixExponent(prefixIndex));
    double base = 0;
    if (std::from_chars(shifted.data(), shifted.data() + shifted.size(), base).ec != std::errc())
        return {};
    auto shortest = std::to_chars(text.data(), text.data() + text.size(), base);
    return std::string(text.data(), shortest.ptr);
}

std::size_t fileNameStart(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string_view LogModeText(uint8_t measureMode) {
    if (measureMode < kLogModes.size()) return kLogModes[measureMode];
    return "CAP";
}

std::string UnitText(int32_t prefixIndex, int32_t unitIndex) {
    std::string text(entryOrEmpty(kLogPrefixes, prefixIndex));
    text += entryOrEmpty(kLogUnits, unitIndex);
    return text;
}

std::string LogLine(const MeterReading& reading) {
    const MeterTime& t = reading.time;
    // Thirteen fields of at most five digits each fit easily.
    std::array<char, 96> stamp{};
    int length =
        std::snprintf(stamp.data(), stamp.size(), "%02d/%02d/%04d %02d:%02d:%02d.%02d ", t.day,
                      t.month, t.year, t.hour, t.minute, t.second, t.milliseconds / 10);
    std::string line(stamp.data(), static_cast<std::size_t>(length));
    line += LogModeText(reading.measureMode);
    line += '=';
    line += FixedText(static_cast<double>(reading.value), 2);
    line += ' ';
    line += UnitText(reading.prefixIndex, reading.unitIndex);
    line += reading.ac != 0 ? "AC" : "DC";
    line += "\r\n";
    return line;
}

std::string LogReadingText(const MeterReading& reading) {
    std::string line = LogLine(reading);
    const std::size_t value = line.find(' ', line.find(' ') + 1);
    line = value == std::string::npos ? line : line.substr(value + 1);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

std::string LogLines(std::span<const MeterReading> readings) {
    std::string text;
    for (const MeterReading& reading : readings) text += LogLine(reading);
    return text;
}

std::string CsvText(std::span<const MeterReading> readings) {
    std::string text = "time,value,unit,mode,acdc\r\n";
    for (const MeterReading& reading : readings) {
        const MeterTime& t = reading.time;
        std::array<char, 64> stamp{};
        int length =
            std::snprintf(stamp.data(), stamp.size(), "%04d-%02d-%02dT%02d:%02d:%02d.%03d,", t.year,
                          t.month, t.day, t.hour, t.minute, t.second, t.milliseconds);
        text.append(stamp.data(), static_cast<std::size_t>(length));
        if (reading.overload == 0) text += baseValueText(reading.value, reading.prefixIndex);
        text += ',';
        text += ScreenUnitText(-1, reading.unitIndex);
        text += ',';
        text += LogModeText(reading.measureMode);
        text += reading.ac != 0 ? ",AC\r\n" : ",DC\r\n";
    }
    return text;
}

std::string RolloverName(const std::string& logPath, int counter) {
    if (counter == 0) return logPath;
    std::string number = "-" + std::to_string(counter);
    if (logPath.size() - fileNameStart(logPath) <= 4) return logPath + number;
    std::size_t split = logPath.size() - 4;
    return logPath.substr(0, split) + number + logPath.substr(split);
}

LogFileWriter::LogFileWriter(uint64_t rolloverBytes) : rolloverBytes_(rolloverBytes) {}

std::optional<std::string> LogFileWriter::Probe(const std::string& logPath) {
    return appendText(logPath, {});
}

std::optional<std::string> LogFileWriter::Append(const std::string& logPath,
                                                 std::string_view text) {
    if (text.empty()) return std::nullopt;
    return appendText(logPath, text);
}

std::optional<std::string> LogFileWriter::appendText(const std::string& logPath,
                                                     std::string_view text) {
    for (;;) {
        std::string name = RolloverName(logPath, counter_);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (fd < 0) return reasonOf(name, errno);
        struct stat status {};
        if (::fstat(fd, &status) != 0) {
            int error = errno;
            ::close(fd);
            return reasonOf(name, error);
        }
        if (static_cast<uint64_t>(status.st_size) >= rolloverBytes_) {
            ::close(fd);
            ++counter_;
            continue;
        }
        if (!writeAll(fd, text)) {
            int error = errno;
            // Take back the lines that did get in, so that the retry of the
            // whole batch does not write them twice.
            if (::ftruncate(fd, status.st_size) != 0) error = errno;
            ::close(fd);
            return reasonOf(name, error);
        }
        if (::close(fd) != 0) return reasonOf(name, errno);
        return std::nullopt;
    }
}

std::optional<std::string> WriteFileWhole(const std::string& path, std::string_view text) {
    if (const auto failure = WriteWholeFile(path, text)) return reasonOf(path, failure->error);
    return std::nullopt;
}

}  // namespace oscilane
