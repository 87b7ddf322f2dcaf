#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"

namespace oscilane {

MenuBarLayout scopeWindowMenu() {
    MenuBarLayout layout = instrumentWindowMenu(cmd::kScopeSave);
    // "Save Setup..." and "Recall Setup..." follow "Save".
    for (MenuItem& menu : layout) {
        QList<MenuItem>& items = menu.items;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items[i].command != cmd::kScopeSave) continue;
            items.insert(i + 1, MenuItem{cmd::kScopeSaveSetup,
                                         QString::fromLatin1(scopefiletext::kSaveSetupItem),
                                         {},
                                         false,
                                         {}});
            items.insert(i + 2, MenuItem{cmd::kScopeRecallSetup,
                                         QString::fromLatin1(scopefiletext::kRecallSetupItem),
                                         {},
                                         false,
                                         {}});
            break;
        }
    }
    return layout;
}

}  // namespace oscilane
