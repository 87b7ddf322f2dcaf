// zelvo gen: designs a generator waveform from the command line and writes
// its CSV file, without an instrument.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "model/generator_limits.h"
#include "model/generator_wave.h"
#include "verbs.h"

namespace zelvo::cli {

// A shape a user may name; type 7 and "Arb" are the window's alone.
struct GenShape {
    const char* name;
    oscilane::WaveType type;
};
std::span<const GenShape> genShapes();

// A numeric setting of the design, by its option name ("--frequency").
struct GenNumber {
    const char* name;
    oscilane::GeneratorBox box;
    const char* help;
};
// In the order the values are applied: the high frequency before the
// maximum frequency, which is limited by it.
std::span<const GenNumber> genNumbers();

// The design of a named shape with the values given (by genNumbers()
// position) limited as the window limits them; SaveCsv synthesizes its
// samples.  Throws UsageError for an unknown shape.
oscilane::GeneratorWave designWave(const std::string& shape,
                                   std::span<const std::optional<double>> numbers, bool fm);

void addGenVerb(CLI::App& parser, VerbTable& verbs);

}  // namespace zelvo::cli
