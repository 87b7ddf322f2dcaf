// Commands of the scope window's frame and tool bar.
#pragma once

namespace oscilane::cmd {

inline constexpr int kScopeSave = 32790;  // "Save Waveform", the File menu's "Save"
inline constexpr int kScopePanelToggle = 32791;
inline constexpr int kScopeCursor = 32828;
inline constexpr int kScopeMeasure = 32829;
inline constexpr int kScopeUpdateData = 32830;
inline constexpr int kScopeSetups = 32831;
// The File menu's "Save Setup..." and "Recall Setup...".
inline constexpr int kScopeSaveSetup = 32870;
inline constexpr int kScopeRecallSetup = 32871;
// The File menu's "Save History...".
inline constexpr int kScopeSaveHistory = 32880;
// The File menu's "Overlay..." and "Clear Overlays".
inline constexpr int kScopeOverlay = 32881;
inline constexpr int kScopeClearOverlays = 32882;
// No menu item or tool-bar button: the scope view's Ctrl+Shift+K.
inline constexpr int kScopeCalData = 32860;

}  // namespace oscilane::cmd
