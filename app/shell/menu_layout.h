// Menus described as data, so that each window type names its menu once and
// the main frame builds the menu bar of whichever window is active.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

namespace oscilane {

struct MenuItem {
    int command = 0;  // 0 with an empty text: a separator; 0 with items: a submenu
    QString text;
    QKeySequence shortcut;
    bool checkable = false;
    QList<MenuItem> items;
};

using MenuBarLayout = QList<MenuItem>;

// The main frame's own menu, shown while no document window is active.
MenuBarLayout mainFrameMenu();
// The menu of a document window that adds no commands of its own.
MenuBarLayout documentWindowMenu();
// An instrument window's menu: the document window's, with "Save" (the
// window's own save command) after "New" and "Export PDF..." after
// "Print Setup..." in its File menu.
MenuBarLayout instrumentWindowMenu(int saveCommand);

// The fly-by help shown in the status bar for a command; empty when it has none.
QString commandTip(int command);

}  // namespace oscilane
