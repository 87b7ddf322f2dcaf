#include "gen_verb.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/generator_csv.h"
#include "model/generator_limits.h"
#include "model/generator_wave.h"

namespace zelvo::cli {
namespace {

using oscilane::GeneratorBox;
using oscilane::GeneratorWave;
using oscilane::WaveType;

constexpr GenShape kShapes[] = {
    {"sine", WaveType::Sine},
    {"ramp", WaveType::Ramp},
    {"square", WaveType::Square},
    {"trapezia", WaveType::Trapezia},
    {"dc", WaveType::Dc},
    {"exponent", WaveType::Exponent},
    {"amfm", WaveType::AmFm},
    {"noise-gauss", WaveType::NoiseGauss},
    {"noise-white", WaveType::NoiseWhite},
};

constexpr GenNumber kNumbers[] = {
    {"--frequency", GeneratorBox::Frequency, "Frequency in Hz (0.001 ... 75000000)"},
    {"--amplitude", GeneratorBox::Amplitude, "Amplitude in volts (at most 3.5)"},
    {"--offset", GeneratorBox::Offset, "Offset in volts (-7 ... 7)"},
    {"--phase", GeneratorBox::Phase, "Start phase, fraction of a period (0 ... 1)"},
    {"--duty", GeneratorBox::Duty, "Ramp or square duty (0 ... 1)"},
    {"--rise-duty", GeneratorBox::RiseDuty, "Trapezia rise duty (0 ... 1)"},
    {"--high-duty", GeneratorBox::HighDuty, "Trapezia high duty (0 ... 1)"},
    {"--fall-duty", GeneratorBox::FallDuty, "Trapezia fall duty (0 ... 1)"},
    {"--tau", GeneratorBox::Tau, "Exponent time constant in seconds (0 ... 1)"},
    {"--depth", GeneratorBox::Depth, "AM depth (0 ... 1)"},
    {"--high-frequency", GeneratorBox::HighFrequency, "AM/FM carrier in Hz (0 ... 25000000)"},
    {"--max-frequency", GeneratorBox::MaximumFrequency,
     "FM peak deviation in Hz (0 ... half the carrier)"},
};

struct GenOptions {
    std::string shape = "sine";
    std::vector<std::optional<std::string>> numbers =
        std::vector<std::optional<std::string>>(std::size(kNumbers));
    bool fm = false;
    std::string csv;
};

// A decimal number in the C locale, the whole text and finite; anything else
// is a usage error naming the option.
double numberOf(const std::string& option, const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || !std::isfinite(value))
        throw UsageError(option + ": '" + text + "' is not a number");
    return value;
}

WaveType shapeOf(const std::string& name) {
    for (const auto& [shapeName, type] : kShapes)
        if (name == shapeName) return type;
    throw UsageError("--shape: unknown shape '" + name + "'");
}

int runGen(const GenOptions& options) {
    // Every value is read before the design is made, so a bad one writes nothing.
    std::vector<std::optional<double>> values(std::size(kNumbers));
    for (std::size_t i = 0; i < std::size(kNumbers); ++i)
        if (options.numbers[i]) values[i] = numberOf(kNumbers[i].name, *options.numbers[i]);
    GeneratorWave wave = designWave(options.shape, values, options.fm);

    const oscilane::CsvResult result = oscilane::SaveCsv(wave, options.csv);
    if (!result.ok()) {
        std::fprintf(stderr, "zelvo: %s\n", result.message().c_str());
        return kExitInstrumentFailed;
    }
    std::printf("%s: %u samples of %.3f Hz\n", options.csv.c_str(), wave.sampleCount,
                wave.frequency);
    return kExitSuccess;
}

}  // namespace

std::span<const GenShape> genShapes() { return kShapes; }
std::span<const GenNumber> genNumbers() { return kNumbers; }

GeneratorWave designWave(const std::string& shape, std::span<const std::optional<double>> numbers,
                         bool fm) {
    GeneratorWave wave;
    wave.waveType = shapeOf(shape);
    wave.baseType = wave.waveType;
    for (std::size_t i = 0; i < std::size(kNumbers) && i < numbers.size(); ++i)
        if (numbers[i]) oscilane::AcceptBoxValue(wave, kNumbers[i].box, *numbers[i]);
    if (fm) wave.fmFlag = 1;
    return wave;
}

void addGenVerb(CLI::App& parser, VerbTable& verbs) {
    auto options = std::make_shared<GenOptions>();
    CLI::App& verb =
        verbs.add(parser, "gen",
                  "Design a generator waveform and write its CSV file (no instrument needed).  "
                  "Values out of range are limited as the generator window limits them.",
                  [options] { return runGen(*options); });
    verb.add_option("--shape", options->shape,
                    "sine|ramp|square|trapezia|dc|exponent|amfm|noise-gauss|noise-white");
    for (std::size_t i = 0; i < std::size(kNumbers); ++i)
        verb.add_option(kNumbers[i].name, options->numbers[i], kNumbers[i].help);
    verb.add_flag("--fm", options->fm, "AM/FM: frequency modulation instead of amplitude");
    verb.add_option("--csv", options->csv, "The CSV file to write")->required();
}

}  // namespace zelvo::cli
