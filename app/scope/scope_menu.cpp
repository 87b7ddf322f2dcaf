#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"

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

}  // namespace

MenuBarLayout scopeWindowMenu() {
    MenuBarLayout layout = instrumentWindowMenu(cmd::kScopeSave);
    insertFileItem(layout, cmd::kScopeSave,
                   {cmd::kScopeSaveHistory,
                    QString::fromLatin1(scopefiletext::kSaveHistoryItem),
                    {},
                    false,
                    {}});
    insertFileItem(
        layout, cmd::kScopeSaveHistory,
        {cmd::kScopeOverlay, QString::fromLatin1(scopefiletext::kOverlayItem), {}, false, {}});
    insertFileItem(layout, cmd::kScopeOverlay,
                   {cmd::kScopeClearOverlays,
                    QString::fromLatin1(scopefiletext::kClearOverlaysItem),
                    {},
                    false,
                    {}});
    return layout;
}

}  // namespace oscilane
