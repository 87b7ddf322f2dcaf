// Fixed texts of the scope window's Save command, its file dialogs and its
// printed report, kept in one place.
#pragma once

namespace oscilane::scopefiletext {

// The "Save" dialog.
inline constexpr const char* kSaveTitle = "Save";
inline constexpr const char* kSetupGroup = "Setup";
inline constexpr const char* kData = "Data";
inline constexpr const char* kPicture = "Picture";
inline constexpr const char* kOk = "OK";

// The save-file dialogs.
inline constexpr const char* kSaveAsTitle = "Save Data As...";
inline constexpr const char* kDataFilters[] = {"Word File(*.doc)", "Excel File(*.xls)",
                                               "BMP File(*.bmp)", "Text File(*.txt)",
                                               "CSV File(*.csv)"};
inline constexpr const char* kCsvFilter = "CSV File(*.csv)";
inline constexpr const char* kDataSuffix = "doc";
inline constexpr const char* kPdfTitle = "Export PDF";
inline constexpr const char* kPdfFilter = "PDF File(*.pdf)";
inline constexpr const char* kPdfSuffix = "pdf";

// Menu items the scope window adds to its File menu.
inline constexpr const char* kSaveItem = "Save";
inline constexpr const char* kExportPdfItem = "Export PDF...";

// A CSV needs samples; a trace that is off has none.  %1 is the channel.
inline constexpr const char* kChannelOffNoCsv = "%1 is off: there are no samples to save as CSV.";

}  // namespace oscilane::scopefiletext
