#include "model/generator_csv.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

#include "model/formatting.h"
#include "model/generator_texts.h"
#include "model/whole_file.h"

namespace oscilane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kFixedDecimals = 6;  // as "%f" writes them

CsvResult failure(CsvOutcome outcome, int error) {
    return {outcome, std::generic_category().message(error)};
}

// A line without the CR of a CR LF end and without trailing blanks and tabs,
// which the strict number parser would otherwise read as "not a number".
std::string_view trimmedLine(std::string_view line) {
    const std::size_t end = line.find_last_not_of(" \t\r");
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

// The text after the last "=", or the whole line without one.
std::string_view valueAfterKey(std::string_view line) {
    const std::size_t equals = line.rfind('=');
    return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

// A double that a float cannot hold reads as 0, as the parser reads a number
// too large for a double.
float sampleOfLine(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return 0.0f;
    return SampleVolts(ParseDecimal(line.substr(0, comma))).value_or(0.0f);
}

}  // namespace

std::string CsvResult::message() const {
    if (ok()) return {};
    std::string text = generator_text::kCannotSaveFile;
    text.replace(text.find("%s"), 2, reason.substr(0, generator_text::kReasonLimit));
    return text;
}

std::string CsvText(const GeneratorWave& wave) {
    const uint16_t count =
        static_cast<uint16_t>(std::min<std::size_t>(wave.sampleCount, kGeneratorBufferSize));
    const float clock = static_cast<float>(wave.frequency * count);
    std::string text;
    text.reserve(64 + count * std::size_t{16});
    text.append(generator_text::kClockKey)
        .append(FixedText(clock, kFixedDecimals))
        .append(kLineEnd);
    text.append(generator_text::kSizeKey).append(std::to_string(count)).append(kLineEnd);
    for (uint16_t i = 0; i < count; ++i)
        text.append(FixedText(wave.samples[i], kFixedDecimals)).append(",0,0").append(kLineEnd);
    return text;
}

CsvResult SaveCsv(GeneratorWave& wave, const std::filesystem::path& path) {
    // The wave takes the synthesized samples only once they are saved.
    GeneratorWave saved = wave;
    if (saved.waveType != WaveType::Arbitrary) Synthesize(saved);
    const auto failed = WriteWholeFile(path, CsvText(saved));
    if (!failed) {
        wave = saved;
        return {};
    }
    return failure(
        failed->stage == WholeFileStage::Open ? CsvOutcome::CannotOpen : CsvOutcome::CannotWrite,
        failed->error);
}

CsvResult ReadCsv(GeneratorWave& wave, std::istream& in) {
    std::string line;
    auto nextLine = [&]() -> std::string_view {
        if (!std::getline(in, line)) return {};
        return trimmedLine(line);
    };

    const double clockValue = ParseDecimal(valueAfterKey(nextLine()));
    const double countValue = std::trunc(ParseDecimal(valueAfterKey(nextLine())));
    if (!(countValue >= 1 && countValue <= static_cast<double>(kGeneratorBufferSize)))
        return {CsvOutcome::BadSampleCount, generator_text::kBadSampleCount};
    if (!(clockValue > 0 && clockValue <= std::numeric_limits<float>::max()))
        return {CsvOutcome::BadClock, generator_text::kBadClock};
    const float clock = static_cast<float>(clockValue);
    if (clock <= 0) return {CsvOutcome::BadClock, generator_text::kBadClock};
    const auto count = static_cast<uint16_t>(countValue);

    // Read into a copy, so a failed read leaves the wave as it was.
    GeneratorWave loaded = wave;
    loaded.sampleCount = count;
    loaded.frequency = static_cast<double>(clock) / count;
    for (uint16_t i = 0; i < count; ++i) loaded.samples[i] = sampleOfLine(nextLine());
    if (in.bad()) return failure(CsvOutcome::CannotRead, EIO);
    loaded.waveType = WaveType::Arbitrary;
    loaded.bufferEdited = true;
    wave = loaded;
    return {};
}

CsvResult LoadCsv(GeneratorWave& wave, const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return failure(CsvOutcome::CannotOpen, EISDIR);
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return failure(CsvOutcome::CannotOpen, errno != 0 ? errno : ENOENT);
    return ReadCsv(wave, in);
}

}  // namespace oscilane
