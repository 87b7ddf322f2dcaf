// The files a trace is saved as: the data file (a short header, then one
// voltage per line) and a CSV of time and voltage for spreadsheets.  Both are
// single-byte text with CR LF line ends and numbers in the C locale, the same
// bytes on every platform.  The scope window and the zelvo client write them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "model/waveform.h"

namespace oscilane {

enum class WaveformFileFormat { Data, Csv };

// "CH1", "CH2", "MATH" (and "REF") for trace 0..3; empty for any other number.
std::string_view WaveformChannelName(int channel);

// The data file: "CH OFF" and an empty line for a trace that is not shown;
// otherwise "#CHANNEL:", "#CLOCK=" (seconds per division of the trace's time
// base, nine decimals, "S"), "#SIZE=1200", "#UNITS:V", an empty line, then
// every sample's volts with six decimals, or "nan" for a blanked sample (it
// has no voltage).  A time base outside the table gives a clock of 0.
std::string WaveformDataText(const Waveform& wave);

// The CSV: "time_s,volts", then one row per sample: i x the sample interval
// with nine significant digits, and the volts with six decimals, or nothing
// for a blanked sample.  A time base outside the table gives times of 0.
std::string WaveformCsvText(const Waveform& wave);

// The all-channel CSV: "time_s,CH1,CH2,MATH,REF", then one row per sample:
// i x the sample interval of the main time base (nine significant digits),
// then each trace's volts with six decimals, or an empty field where the
// trace is off or the sample blanked.  In ALT trigger mode CH1 and CH2 may
// run at time bases of their own; the time column is still the main one.
std::string AllChannelsCsvText(const SettingBlock& block);

enum class WaveformSaveOutcome {
    Ok,
    ChannelOff,   // a CSV of a trace (or of all traces) that is not shown: nothing to write
    CannotOpen,   // the file could not be created
    CannotWrite,  // writing or putting the file in place failed
};

struct WaveformSaveResult {
    WaveformSaveOutcome outcome = WaveformSaveOutcome::Ok;
    std::string reason;  // the system's text for a file error

    bool ok() const { return outcome == WaveformSaveOutcome::Ok; }
};

// Writes the trace in the format to path, whole or not at all.
WaveformSaveResult SaveWaveformFile(const Waveform& wave, WaveformFileFormat format,
                                    const std::filesystem::path& path);

// Writes the all-channel CSV of the block to path, whole or not at all;
// ChannelOff when no trace is shown.
WaveformSaveResult SaveAllChannelsCsv(const SettingBlock& block, const std::filesystem::path& path);

// The format a file name asks for: CSV for a ".csv" name (any case), the
// data file for every other name.
WaveformFileFormat WaveformFormatForName(std::string_view fileName);

}  // namespace oscilane
