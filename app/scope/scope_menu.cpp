#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"

namespace oscilane {

MenuBarLayout scopeWindowMenu() { return instrumentWindowMenu(cmd::kScopeSave); }

}  // namespace oscilane
