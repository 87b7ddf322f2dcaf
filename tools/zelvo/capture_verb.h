// zelvo capture: uploads one setting block and saves one trace of it (or all
// of them) as the scope window's data file or as CSV, through the same writer as the window.
#pragma once

#include <optional>
#include <string>

#include "instrument_target.h"
#include "model/setting_block.h"
#include "model/waveform_file.h"
#include "verbs.h"

namespace zelvo::cli {

// The layouts --format names: "txt" (the scope window's data file, also
// what it takes when none is named, whatever the file's name) and "csv".
inline constexpr const char* kDefaultCaptureFormat = "txt";
std::optional<oscilane::WaveformFileFormat> captureFormatNamed(const std::string& name);

// Saves one trace of an uploaded block as the verb does (kAllChannels: every
// trace as the all-channel CSV, whatever the format); the one-line reason
// when nothing was saved.
std::optional<std::string> saveTrace(const oscilane::SettingBlock& block, int channel,
                                     oscilane::WaveformFileFormat format, const std::string& file);

// Adds the verb; its instrument options are the shared ones.
void addCaptureVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument);

}  // namespace zelvo::cli
