// The texts the meter model hands to the window for showing.
#pragma once

namespace oscilane::msg {

// Followed by the file name and the system's reason; shown in the meter
// window's status while the storage log cannot be written.
inline constexpr const char* kCannotWriteLog = "Cannot write the log file: ";

}  // namespace oscilane::msg
