#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"
#include "shell/command_ids.h"

namespace oscilane {

MenuBarLayout scopeWindowMenu() {
    MenuBarLayout layout = documentWindowMenu();
    for (MenuItem& menu : layout) {
        if (menu.text != QStringLiteral("&File")) continue;
        QList<MenuItem>& items = menu.items;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items[i].command == cmd::kFileNew) {
                items.insert(i + 1, MenuItem{cmd::kScopeSave,
                                             QString::fromLatin1(scopefiletext::kSaveItem),
                                             {},
                                             false,
                                             {}});
                ++i;
            } else if (items[i].command == cmd::kPrintSetup) {
                items.insert(i + 1, MenuItem{cmd::kExportPdf,
                                             QString::fromLatin1(scopefiletext::kExportPdfItem),
                                             {},
                                             false,
                                             {}});
                ++i;
            }
        }
    }
    return layout;
}

}  // namespace oscilane
