#include "scope/scope_tools.h"

#include "scope/cursor_dialog.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"

namespace oscilane {

void installScopeTools(ScopeView& view, ScopeLink link) {
    (void)link;
    ScopeScreen& screen = view.screen();
    view.commands().on(cmd::kScopeCursor, [&view, &screen] {
        CursorDialog dialog(
            screen.cursorChoice(), [&screen] { screen.update(); }, &view);
        dialog.exec();
    });
}

}  // namespace oscilane
