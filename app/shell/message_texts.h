// Every fixed text the shell shows in a message box, kept in one place.
// The texts are shown to users as they have always read them.
#pragma once

namespace oscilane::msg {

inline constexpr const char* kCaption = "Oscilane";
inline constexpr const char* kFailedToCreateDocument = "Failed to create new document!";
inline constexpr const char* kErrorParameter = "Error Parameter!!!";
inline constexpr const char* kRootCannotRename = "Root Cannot Rename!";
inline constexpr const char* kRootCannotRemove = "Root Cannot Remove!";
inline constexpr const char* kFailedToCreateImageList = "Failed to create image list!";
inline constexpr const char* kCannotSaveFile = "Cann't save file: %1";
inline constexpr const char* kCannotOpenFile = "Cann't open file: %1";
inline constexpr const char* kFailedToOpenDocument = "Failed to open document.";
// A recent file that is no longer there; %1 is its path.
inline constexpr const char* kRecentFileGone =
    "%1 no longer exists: it was taken off the list of recent files.";
inline constexpr const char* kEnglish = "English";
inline constexpr const char* kChinese = "Chinese";

}  // namespace oscilane::msg
