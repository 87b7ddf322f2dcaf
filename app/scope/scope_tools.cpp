#include "scope/scope_tools.h"

#include "model/scope_tool_texts.h"
#include "scope/cursor_dialog.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"
#include "scope/setup_dialog.h"
#include "shell/message_service.h"

namespace oscilane {

void installScopeTools(ScopeView& view, ScopeLink link) {
    ScopeScreen& screen = view.screen();
    view.commands().on(cmd::kScopeCursor, [&view, &screen] {
        CursorDialog dialog(
            screen.cursorChoice(), [&screen] { screen.update(); }, &view);
        dialog.exec();
    });
    // Enabled whenever the window exists; without an instrument it only says so.
    view.commands().on(cmd::kScopeSetups, [&view, link] {
        if (!link.state.connected()) {
            showMessage(QString::fromLatin1(tooltext::kCannotConnect));
            return;
        }
        SetupDialog dialog(link.data, link.commands, &view);
        dialog.exec();
    });
}

}  // namespace oscilane
