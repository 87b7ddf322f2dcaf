#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"
#include "shell/command_ids.h"
#include "shell/save_texts.h"

namespace oscilane {

MenuBarLayout scopeWindowMenu() {
    MenuBarLayout layout = instrumentWindowMenu(cmd::kScopeSave);
    // "Open Capture..." follows "New", as in the main frame's menu.
    for (MenuItem& menu : layout) {
        for (qsizetype i = 0; i < menu.items.size(); ++i) {
            if (menu.items[i].command != cmd::kFileNew) continue;
            menu.items.insert(i + 1, MenuItem{cmd::kFileOpen,
                                              QString::fromLatin1(savetext::kOpenCaptureItem),
                                              QKeySequence(Qt::CTRL | Qt::Key_O),
                                              false,
                                              {}});
            return layout;
        }
    }
    return layout;
}

}  // namespace oscilane
