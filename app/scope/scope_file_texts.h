// Fixed texts of the scope window's data files, kept in one place; the
// texts every instrument window shares are in shell/save_texts.h.
#pragma once

namespace oscilane::scopefiletext {

// The data file dialog; its title is the picture's (shell/save_texts.h).
inline constexpr const char* kDataFilters[] = {"Word File(*.doc)", "Excel File(*.xls)",
                                               "BMP File(*.bmp)", "Text File(*.txt)",
                                               "CSV File(*.csv)"};
inline constexpr const char* kCsvFilter = "CSV File(*.csv)";
inline constexpr const char* kDataSuffix = "doc";

// A CSV needs samples; a trace that is off has none.  %1 is the channel.
inline constexpr const char* kChannelOffNoCsv = "%1 is off: there are no samples to save as CSV.";

}  // namespace oscilane::scopefiletext
