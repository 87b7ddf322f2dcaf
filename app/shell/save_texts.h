// Fixed texts of the instrument windows' Save command, picture files and
// printed-report export, kept in one place.
#pragma once

namespace oscilane::savetext {

// The "Save" dialog.
inline constexpr const char* kSaveTitle = "Save";
inline constexpr const char* kSetupGroup = "Setup";
inline constexpr const char* kData = "Data";
inline constexpr const char* kPicture = "Picture";
inline constexpr const char* kOk = "OK";

// The picture's save-file dialog.
inline constexpr const char* kPictureTitle = "Save Data As...";
inline constexpr const char* kPictureFilters[] = {"BMP File(*.bmp)", "JPEG File(*.jpg)",
                                                  "PNG File(*.png)"};
inline constexpr const char* kPictureSuffix = "bmp";

// The data file's save-file dialog of the scope and the meter; its title is
// the picture's.  Only the CSV filter writes CSV: the others the text layout.
inline constexpr const char* kDataFilters[] = {"Word File(*.doc)", "Excel File(*.xls)",
                                               "BMP File(*.bmp)", "Text File(*.txt)",
                                               "CSV File(*.csv)"};
inline constexpr const char* kCsvFilter = "CSV File(*.csv)";
inline constexpr const char* kDataSuffix = "doc";

// "Export PDF..." and its dialog.
inline constexpr const char* kPdfTitle = "Export PDF";
inline constexpr const char* kPdfFilter = "PDF File(*.pdf)";
inline constexpr const char* kPdfSuffix = "pdf";

// Items the instrument windows add to their File menu.
inline constexpr const char* kSaveItem = "Save";
inline constexpr const char* kExportPdfItem = "Export PDF...";
// File > Open of the main frame and the scope window: it opens saved traces.
inline constexpr const char* kOpenCaptureItem = "&Open Capture...";

}  // namespace oscilane::savetext
