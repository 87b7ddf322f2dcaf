#include "model/capture_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "model/formatting.h"
#include "model/scope_scales.h"

namespace oscilane {
namespace {

constexpr int kSamples = static_cast<int>(zelvo::layout::kSamplesPerTrace);
constexpr int kChannels = 4;
constexpr std::array<std::string_view, kChannels> kChannelNames = {"CH1", "CH2", "MATH", "REF"};
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kVoltDecimals = 6;  // as "%f" writes them
constexpr int kClockDecimals = 9;
constexpr int kTimeDigits = 9;
// A blanked sample's line in the data file: what "%f" writes for a quiet NaN.
constexpr std::string_view kNoVolts = "nan";
// The data file's header lines before its samples.
constexpr std::string_view kChannelTag = "#CHANNEL:";
constexpr std::string_view kClockTag = "#CLOCK=";
constexpr std::string_view kSizeTag = "#SIZE=";
constexpr std::string_view kUnitsLine = "#UNITS:V";
constexpr std::string_view kChannelOffLine = "CH OFF";
constexpr int kDataHeaderLines = 5;
constexpr std::string_view kCsvHeader = "time_s,volts";
constexpr std::string_view kAllChannelsHeader = "time_s,CH1,CH2,MATH,REF";
// Beyond any time base of the table, and far beyond a time in a trace.
constexpr double kClockLimit = 1e4;
constexpr double kTimeLimit = kClockLimit * 12;

double samplesPerDivision() { return zelvo::tables::kSamplesPerDivision; }

std::string voltsText(const std::optional<double>& volts) {
    return volts ? FixedText(*volts, kVoltDecimals) : std::string();
}

const CaptureTrace* traceOf(const Capture& capture, int channel) {
    for (const CaptureTrace& t : capture.traces)
        if (t.channel == channel) return &t;
    return nullptr;
}

std::optional<double> sampleOf(const CaptureTrace* trace, int i) {
    if (!trace || i >= static_cast<int>(trace->volts.size())) return std::nullopt;
    return trace->volts[static_cast<std::size_t>(i)];
}

// ---- reading ----

struct Refusal {
    CaptureReadError error;
};

[[noreturn]] void refuse(int line, std::string reason) { throw Refusal{{line, std::move(reason)}}; }

std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 24;
    if (text.size() > kShown) return "'" + std::string(text.substr(0, kShown)) + "...'";
    return "'" + std::string(text) + "'";
}

// The lines of the text without their ends.  Every line must end in CR LF or
// LF; the text must be printable single-byte text.
std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    int line = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            std::size_t end = i;
            if (end > start && bytes[end - 1] == '\r') --end;
            lines.push_back(bytes.substr(start, end - start));
            start = i + 1;
            ++line;
        } else if (c == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                refuse(line, "a line ends in a carriage return without a line feed");
        } else if ((c < 0x20 && c != '\t') || c >= 0x7F) {
            refuse(line, "the file holds binary data, not text");
        }
        // One line more than the longest layout is enough to refuse the file.
        if (lines.size() > static_cast<std::size_t>(kSamples + kDataHeaderLines)) return lines;
    }
    if (start < bytes.size()) refuse(line, "the file is cut short: its last line has no line end");
    if (lines.empty()) refuse(1, "the file is empty");
    return lines;
}

double number(std::string_view field, int line, double limit, const char* what) {
    double value = 0;
    const char* first = field.data();
    const char* last = first + field.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (field.empty() || end != last ||
        (error != std::errc() && error != std::errc::result_out_of_range))
        refuse(line, quoted(field) + " is not a number");
    if (error != std::errc::result_out_of_range && !std::isfinite(value))
        refuse(line, quoted(field) + " is not a finite number");
    if (error == std::errc::result_out_of_range || std::fabs(value) > limit)
        refuse(line, quoted(field) + " is too large for " + what);
    return value;
}

// A sample's volts, none for a field that stands for a blanked sample.
std::optional<double> sample(std::string_view field, int line, bool blank) {
    if (blank) return std::nullopt;
    return number(field, line, kCaptureVoltsLimit, "a sample's volts");
}

// The table entry whose text in the file's layout is `text`, if one is.
std::optional<int> tableEntry(std::string_view text, bool perSample) {
    for (int index = 0; index < kTimeBaseIndexCount; ++index) {
        const double seconds = *SecondsPerDivision(index);
        const std::string written = perSample
                                        ? GeneralText(seconds / samplesPerDivision(), kTimeDigits)
                                        : FixedText(seconds, kClockDecimals);
        if (written == text) return index;
    }
    return std::nullopt;
}

void setClock(Capture& capture, std::string_view text, double seconds, bool perSample) {
    capture.timeBaseIndex = tableEntry(text, perSample);
    capture.secondsPerDivision = capture.timeBaseIndex ? *SecondsPerDivision(*capture.timeBaseIndex)
                                 : perSample           ? seconds * samplesPerDivision()
                                                       : seconds;
}

void checkSampleCount(std::size_t samples, int nextLine) {
    if (samples < static_cast<std::size_t>(kSamples))
        refuse(nextLine, "the file is cut short: it ends after " + std::to_string(samples) +
                             " of " + std::to_string(kSamples) + " samples");
    if (samples > static_cast<std::size_t>(kSamples))
        refuse(nextLine - static_cast<int>(samples) + kSamples,
               "the file holds more than " + std::to_string(kSamples) + " samples");
}

std::string_view afterTag(std::string_view line, std::string_view tag, int number,
                          const char* expected) {
    if (line.substr(0, tag.size()) != tag)
        refuse(number, std::string("expected ") + expected + ", found " + quoted(line));
    return line.substr(tag.size());
}

Capture readData(const std::vector<std::string_view>& lines) {
    Capture capture;
    capture.format = CaptureFormat::Data;
    const std::string_view name = afterTag(lines[0], kChannelTag, 1, "'#CHANNEL:'");
    int channel = -1;
    for (int c = 0; c < kChannels; ++c)
        if (name == kChannelNames[static_cast<std::size_t>(c)]) channel = c;
    if (channel < 0) refuse(1, quoted(name) + " is not a channel");
    if (lines.size() < static_cast<std::size_t>(kDataHeaderLines))
        refuse(static_cast<int>(lines.size()) + 1, "the file is cut short in its header");

    std::string_view clock = afterTag(lines[1], kClockTag, 2, "'#CLOCK='");
    if (clock.empty() || clock.back() != 'S') refuse(2, "the clock does not end in 'S'");
    clock.remove_suffix(1);
    const double seconds = number(clock, 2, kClockLimit, "a clock");
    if (seconds < 0) refuse(2, "the clock is negative");
    setClock(capture, clock, seconds, false);

    const std::string_view size = afterTag(lines[2], kSizeTag, 3, "'#SIZE='");
    if (size != std::to_string(kSamples))
        refuse(3, "the size is " + quoted(size) + ": a trace holds " + std::to_string(kSamples) +
                      " samples");
    if (lines[3] != kUnitsLine) refuse(4, "expected '#UNITS:V', found " + quoted(lines[3]));
    if (!lines[4].empty()) refuse(5, "expected an empty line, found " + quoted(lines[4]));

    checkSampleCount(lines.size() - kDataHeaderLines, static_cast<int>(lines.size()) + 1);
    CaptureTrace trace{channel, {}};
    trace.volts.reserve(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const int line = kDataHeaderLines + i + 1;
        const std::string_view field = lines[static_cast<std::size_t>(line - 1)];
        trace.volts.push_back(sample(field, line, field == kNoVolts));
    }
    capture.traces.push_back(std::move(trace));
    return capture;
}

std::vector<std::string_view> fields(std::string_view line, std::size_t count, int number) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        result.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (result.size() != count)
        refuse(number, "the row has " + std::to_string(result.size()) + " fields, not " +
                           std::to_string(count));
    return result;
}

Capture readCsv(const std::vector<std::string_view>& lines, CaptureFormat format) {
    const bool all = format == CaptureFormat::AllChannelsCsv;
    const int columns = all ? kChannels : 1;
    Capture capture;
    capture.format = format;
    checkSampleCount(lines.size() - 1, static_cast<int>(lines.size()) + 1);

    std::array<CaptureTrace, kChannels> traces;
    std::array<bool, kChannels> valued{};
    for (int c = 0; c < columns; ++c) traces[static_cast<std::size_t>(c)].channel = c;
    double previous = 0;
    for (int i = 0; i < kSamples; ++i) {
        const int line = i + 2;
        const auto row = fields(lines[static_cast<std::size_t>(i) + 1],
                                static_cast<std::size_t>(columns) + 1, line);
        const double t = number(row[0], line, kTimeLimit, "a time");
        if (i == 0 && t != 0) refuse(line, "the first sample's time is not 0");
        if (t < previous) refuse(line, "the time goes back");
        previous = t;
        if (i == 1) setClock(capture, row[0], t, true);
        for (int c = 0; c < columns; ++c) {
            const std::string_view field = row[static_cast<std::size_t>(c) + 1];
            const auto volts = sample(field, line, field.empty());
            valued[static_cast<std::size_t>(c)] = valued[static_cast<std::size_t>(c)] || volts;
            traces[static_cast<std::size_t>(c)].volts.push_back(volts);
        }
    }
    for (int c = 0; c < columns; ++c)
        if (!all || valued[static_cast<std::size_t>(c)])
            capture.traces.push_back(std::move(traces[static_cast<std::size_t>(c)]));
    if (capture.traces.empty()) refuse(2, "no channel holds a sample value");
    return capture;
}

}  // namespace

std::string CaptureReadError::text() const {
    if (line <= 0) return reason;
    return "line " + std::to_string(line) + ": " + reason;
}

CaptureReadResult ReadCaptureText(std::string_view bytes) {
    try {
        if (bytes.size() > kCaptureFileLimit) refuse(0, "the file is larger than any capture file");
        const std::vector<std::string_view> lines = splitLines(bytes);
        if (lines[0] == kCsvHeader) return readCsv(lines, CaptureFormat::Csv);
        if (lines[0] == kAllChannelsHeader) return readCsv(lines, CaptureFormat::AllChannelsCsv);
        if (lines[0] == kChannelOffLine)
            refuse(1, "the channel was off when the file was saved: it holds no samples");
        if (lines[0].substr(0, kChannelTag.size()) == kChannelTag) return readData(lines);
        refuse(1, "not a capture file: the first line is " + quoted(lines[0]));
    } catch (const Refusal& r) {
        return r.error;
    }
}

CaptureReadResult ReadCaptureFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return CaptureReadError{0, std::strerror(errno)};
    std::string bytes;
    bytes.resize(kCaptureFileLimit + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return CaptureReadError{0, std::strerror(errno)};
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ReadCaptureText(bytes);
}

std::string CaptureText(const Capture& capture) {
    const CaptureTrace* first = capture.traces.empty() ? nullptr : &capture.traces.front();
    std::string text;
    if (capture.format == CaptureFormat::Data) {
        if (!first) return std::string(kChannelOffLine).append(kLineEnd).append(kLineEnd);
        text.reserve(100 + kSamples * std::size_t{12});
        text.append(kChannelTag)
            .append(kChannelNames[static_cast<std::size_t>(first->channel) % kChannels])
            .append(kLineEnd);
        text.append(kClockTag)
            .append(FixedText(capture.secondsPerDivision, kClockDecimals))
            .append("S")
            .append(kLineEnd);
        text.append(kSizeTag).append(std::to_string(kSamples)).append(kLineEnd);
        text.append(kUnitsLine).append(kLineEnd).append(kLineEnd);
        for (int i = 0; i < kSamples; ++i) {
            const auto volts = sampleOf(first, i);
            text.append(volts ? voltsText(volts) : std::string(kNoVolts)).append(kLineEnd);
        }
        return text;
    }
    const bool all = capture.format == CaptureFormat::AllChannelsCsv;
    const double interval = capture.secondsPerDivision / samplesPerDivision();
    text.reserve(40 + kSamples * (all ? std::size_t{64} : std::size_t{28}));
    text.append(all ? kAllChannelsHeader : kCsvHeader).append(kLineEnd);
    for (int i = 0; i < kSamples; ++i) {
        text.append(GeneralText(i * interval, kTimeDigits));
        if (all) {
            for (int c = 0; c < kChannels; ++c)
                text.append(",").append(voltsText(sampleOf(traceOf(capture, c), i)));
        } else {
            text.append(",").append(voltsText(sampleOf(first, i)));
        }
        text.append(kLineEnd);
    }
    return text;
}

}  // namespace oscilane
