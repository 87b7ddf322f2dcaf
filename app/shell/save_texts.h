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

// "Export PDF..." and its dialog.
inline constexpr const char* kPdfTitle = "Export PDF";
inline constexpr const char* kPdfFilter = "PDF File(*.pdf)";
inline constexpr const char* kPdfSuffix = "pdf";

// Items the instrument windows add to their File menu.
inline constexpr const char* kSaveItem = "Save";
inline constexpr const char* kExportPdfItem = "Export PDF...";

}  // namespace oscilane::savetext
