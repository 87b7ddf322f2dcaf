// The scope window's menu: the document window's menu with "Open Capture...",
// "Save", "Save Setup...", "Recall Setup...", "Save History...",
// "Overlay...", "Clear Overlays" and "Export PDF..." in its File menu.
#pragma once

#include "shell/menu_layout.h"

namespace oscilane {

MenuBarLayout scopeWindowMenu();

}  // namespace oscilane
