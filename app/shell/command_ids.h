// Command and resource identifiers of the application.  Menus, tool bars and
// the command routing refer to commands only through these names.
#pragma once

namespace oscilane::cmd {

// Application and file commands.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
// The File menus' four recent files, the most recent first.
inline constexpr int kRecentFile1 = 57616;
inline constexpr int kRecentFileCount = 4;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
// The printed report written to a PDF file instead of a printer.
inline constexpr int kExportPdf = 32900;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;

// Window arrangement of the main frame.
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTileHorizontal = 57651;
inline constexpr int kWindowTileVertical = 57652;

// Bars of the main frame.
inline constexpr int kViewToolBar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kViewBrowserBar = 32774;

// Language choice; each only shows its own name.
inline constexpr int kLanguageEnglish = 32771;
inline constexpr int kLanguageChinese = 32772;

// Document browser.
inline constexpr int kBrowserRename = 32775;
inline constexpr int kBrowserDelete = 32777;

// New document of each type, in type order: scope, meter, generator, sheet, recorder.
inline constexpr int kNewScope = 32778;
inline constexpr int kNewMeter = 32779;
inline constexpr int kNewGenerator = 32780;
inline constexpr int kNewSheet = 32781;
inline constexpr int kNewRecorder = 32782;

// Instrument window commands; handled by the windows that own a device connection.
inline constexpr int kOption = 32787;
inline constexpr int kConnect = 32788;
inline constexpr int kDisconnect = 32789;

}  // namespace oscilane::cmd

namespace oscilane::res {

inline constexpr int kMainFrame = 128;
inline constexpr int kScopeTemplate = 129;
inline constexpr int kMeterTemplate = 130;
inline constexpr int kGeneratorTemplate = 131;
inline constexpr int kSheetTemplate = 132;
inline constexpr int kRecorderTemplate = 133;

// Empty forms of the data windows.
inline constexpr int kSheetForm = 133;
inline constexpr int kRecorderForm = 134;

}  // namespace oscilane::res
