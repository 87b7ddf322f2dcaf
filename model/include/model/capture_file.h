// Reading a saved trace back: the data file of one trace, the CSV of one
// trace and the all-channel CSV, as the scope window's Save and the zelvo
// client write them (model/waveform_file.h).  A file is read whole or not at
// all: anything that is not one of these layouts, is cut short or holds a
// value that is not a finite number of sensible size is refused with a
// reason and the line it was met on.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace oscilane {

enum class CaptureFormat { Data, Csv, AllChannelsCsv };

// One trace of a capture: its channel (0 CH1, 1 CH2, 2 MATH, 3 REF) and the
// volts of its 1200 samples; a blanked sample has none.
struct CaptureTrace {
    int channel = 0;
    std::vector<std::optional<double>> volts;
};

struct Capture {
    CaptureFormat format = CaptureFormat::Data;
    // The clock of the traces.  When it is an entry of the time-base table
    // the index says which, and the seconds are that entry's exactly.
    double secondsPerDivision = 0;
    std::optional<int> timeBaseIndex;
    // The traces the file holds, in channel order: one for the data file and
    // the single CSV, those with at least one value for the all-channel CSV.
    std::vector<CaptureTrace> traces;
};

struct CaptureReadError {
    int line = 0;  // 1 for the first line
    std::string reason;
    // "line 7: ..." as the one line shown to the user.
    std::string text() const;
};

using CaptureReadResult = std::variant<Capture, CaptureReadError>;

// The largest file taken for a capture: the all-channel CSV of 1200 rows
// needs well under a tenth of it.
inline constexpr std::size_t kCaptureFileLimit = 1 << 20;
// The largest magnitude of a sample's volts taken: far above what the
// largest scale and probe reach.
inline constexpr double kCaptureVoltsLimit = 1e6;

CaptureReadResult ReadCaptureText(std::string_view bytes);
// Reads the file at path; a file that cannot be read is refused at line 0
// with the system's reason.
CaptureReadResult ReadCaptureFile(const std::filesystem::path& path);

// The bytes of the capture in its own format, as the writer of
// model/waveform_file.h writes them: what was read is written back the same.
std::string CaptureText(const Capture& capture);

}  // namespace oscilane
