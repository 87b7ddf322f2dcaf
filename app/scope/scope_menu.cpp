#include "scope/scope_menu.h"

#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"
#include "shell/command_ids.h"
#include "shell/save_texts.h"

namespace oscilane {
namespace {

MenuItem plainItem(int command, const char* text, QKeySequence shortcut = {}) {
    return MenuItem{command, QString::fromLatin1(text), shortcut, false, {}};
}

}  // namespace

MenuBarLayout scopeWindowMenu() {
    MenuBarLayout layout = instrumentWindowMenu(cmd::kScopeSave);
    // "Open Capture..." follows "New", as in the main frame's menu;
    // "Save Setup..." and "Recall Setup..." follow "Save".
    for (MenuItem& menu : layout) {
        QList<MenuItem>& items = menu.items;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items[i].command == cmd::kFileNew) {
                items.insert(++i, plainItem(cmd::kFileOpen, savetext::kOpenCaptureItem,
                                            QKeySequence(Qt::CTRL | Qt::Key_O)));
            } else if (items[i].command == cmd::kScopeSave) {
                items.insert(++i, plainItem(cmd::kScopeSaveSetup, scopefiletext::kSaveSetupItem));
                items.insert(++i,
                             plainItem(cmd::kScopeRecallSetup, scopefiletext::kRecallSetupItem));
            }
        }
    }
    return layout;
}

}  // namespace oscilane
