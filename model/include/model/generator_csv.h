// The generator's CSV file: a "#CLOCK=" line with the sample clock in Hz, a
// "#SIZE=" line with the sample count, then one "volts,0,0" line per sample,
// every line ended by CR LF and every number in the C locale.
#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "model/generator_wave.h"

namespace oscilane {

// What became of a save or a load.  Every outcome but Ok leaves the file
// (on save) or the wave (on load) as it was.
enum class CsvOutcome {
    Ok,
    CannotOpen,      // the file could not be created or opened
    CannotWrite,     // writing, flushing or putting the file in place failed
    CannotRead,      // the file opened but reading it failed
    BadSampleCount,  // "#SIZE" is not 1 ... 4096
    BadClock,        // "#CLOCK" is not a finite positive number
};

struct CsvResult {
    CsvOutcome outcome = CsvOutcome::Ok;
    std::string reason;  // the system's text for a file error, or why the file was refused

    bool ok() const { return outcome == CsvOutcome::Ok; }
    // "Cann't Save file: <reason>" with the reason cut to its limit; empty when ok.
    std::string message() const;
};

// The file's text for the buffer as it stands (no synthesis): the clock is
// frequency x N rounded to single precision.
std::string CsvText(const GeneratorWave& wave);

// Writes the wave to path.  A wave that is not "Arb" is synthesized first, so
// the file matches its shape.  The file is written beside path and renamed
// into place: it appears whole or not at all, and an existing file that
// cannot be written is left alone.
CsvResult SaveCsv(GeneratorWave& wave, const std::filesystem::path& path);

// Reads a file's text: the clock and the count from the text after the last
// "=" of the first two lines, then one sample per line from the text before
// its first "," (a line without one, or a missing line, gives 0).  Trailing CR,
// blanks and tabs of each line are ignored.  On success the wave takes the
// samples, the count and the frequency clock / N and becomes "Arb" (its base
// type stays); on refusal it is unchanged.
CsvResult ReadCsv(GeneratorWave& wave, std::istream& in);

// ReadCsv of the file at path.
CsvResult LoadCsv(GeneratorWave& wave, const std::filesystem::path& path);

}  // namespace oscilane
