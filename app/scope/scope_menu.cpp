#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"
#include "shell/command_ids.h"
#include "shell/save_texts.h"

namespace oscilane {
namespace {

// Puts an item into the File menu right after the item of `after`.
void insertFileItem(MenuBarLayout& layout, int after, MenuItem item) {
    for (MenuItem& menu : layout) {
        if (menu.text != QStringLiteral("&File")) continue;
        for (qsizetype i = 0; i < menu.items.size(); ++i)
            if (menu.items[i].command == after) {
                menu.items.insert(i + 1, std::move(item));
                return;
            }
    }
}

MenuItem fileItem(int command, const char* text) {
    return {command, QString::fromLatin1(text), {}, false, {}};
}

}  // namespace

MenuBarLayout scopeWindowMenu() {
    MenuBarLayout layout = instrumentWindowMenu(cmd::kScopeSave);
    // "Open Capture..." follows "New", as in the main frame's menu.
    insertFileItem(layout, cmd::kFileNew,
                   {cmd::kFileOpen,
                    QString::fromLatin1(savetext::kOpenCaptureItem),
                    QKeySequence(Qt::CTRL | Qt::Key_O),
                    false,
                    {}});
    insertFileItem(layout, cmd::kScopeSave,
                   fileItem(cmd::kScopeSaveSetup, scopefiletext::kSaveSetupItem));
    insertFileItem(layout, cmd::kScopeSaveSetup,
                   fileItem(cmd::kScopeRecallSetup, scopefiletext::kRecallSetupItem));
    insertFileItem(layout, cmd::kScopeRecallSetup,
                   fileItem(cmd::kScopeSaveHistory, scopefiletext::kSaveHistoryItem));
    insertFileItem(layout, cmd::kScopeSaveHistory,
                   fileItem(cmd::kScopeOverlay, scopefiletext::kOverlayItem));
    insertFileItem(layout, cmd::kScopeOverlay,
                   fileItem(cmd::kScopeClearOverlays, scopefiletext::kClearOverlaysItem));
    return layout;
}

}  // namespace oscilane
