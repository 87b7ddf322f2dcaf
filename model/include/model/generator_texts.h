// Fixed texts of the generator's files, kept in one place.  The message box
// texts read as users have always seen them, spelling included.
#pragma once

#include <cstddef>

namespace oscilane::generator_text {

// Shown when a CSV file cannot be written or read; "%s" is the reason.  The
// same words serve saving and loading.
inline constexpr const char* kCannotSaveFile = "Cann't Save file: %s";
// The reason shown is cut to this many characters.
inline constexpr std::size_t kReasonLimit = 1024;

// Reasons for refusing a file that opened but cannot be taken.
inline constexpr const char* kBadSampleCount = "#SIZE is not a sample count from 1 to 4096";
inline constexpr const char* kBadClock = "#CLOCK is not a positive number";

// Keys of the file's two header lines.
inline constexpr const char* kClockKey = "#CLOCK=";
inline constexpr const char* kSizeKey = "#SIZE=";

}  // namespace oscilane::generator_text
