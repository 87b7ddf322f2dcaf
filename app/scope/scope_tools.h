// The scope window's tool commands: the "Cursor" dialog (32828), the "Setup"
// dialog (32831) and the "Cal Data" dialog (32860, reached only by its
// keyboard shortcut Ctrl+Shift+K).
#pragma once

#include "scope/scope_link_state.h"

namespace oscilane {

class ScopeView;

inline constexpr const char* kCalDataShortcut = "Ctrl+Shift+K";

// Registers the three commands on the view and the Cal Data shortcut.
void installScopeTools(ScopeView& view, ScopeLink link);

}  // namespace oscilane
