#include "shell/menu_layout.h"

#include <unordered_map>

#include "shell/command_ids.h"
#include "shell/save_texts.h"

namespace oscilane {
namespace {

MenuItem item(int command, const char* text, QKeySequence shortcut = {}) {
    return MenuItem{command, QString::fromLatin1(text), shortcut, false, {}};
}
MenuItem toggle(int command, const char* text) {
    return MenuItem{command, QString::fromLatin1(text), {}, true, {}};
}
MenuItem separator() { return MenuItem{}; }
MenuItem menu(const char* text, QList<MenuItem> items) {
    return MenuItem{0, QString::fromLatin1(text), {}, false, std::move(items)};
}

MenuItem viewMenu() {
    return menu("&View",
                {toggle(cmd::kViewToolBar, "&Toolbar"), toggle(cmd::kViewStatusBar, "&Status Bar"),
                 toggle(cmd::kViewBrowserBar, "Browser Bar")});
}

// The four recent files before "Exit"; the frame fills in their names and
// hides the places the list does not fill.
QList<MenuItem> recentFilesAndExit() {
    QList<MenuItem> items;
    for (int slot = 0; slot < cmd::kRecentFileCount; ++slot)
        items.append(item(cmd::kRecentFile1 + slot, "Recent File"));
    items.append(separator());
    items.append(item(cmd::kAppExit, "E&xit"));
    return items;
}
MenuItem helpMenu() { return menu("&Help", {item(cmd::kAppAbout, "&About Oscilane...")}); }

}  // namespace

MenuBarLayout mainFrameMenu() {
    return {
        menu("&File",
             QList<MenuItem>{item(cmd::kFileNew, "&New", QKeySequence(Qt::CTRL | Qt::Key_N)),
                             item(cmd::kFileOpen, savetext::kOpenCaptureItem,
                                  QKeySequence(Qt::CTRL | Qt::Key_O)),
                             separator(), item(cmd::kPrintSetup, "P&rint Setup..."), separator()} +
                 recentFilesAndExit()),
        viewMenu(),
        menu("&Language",
             {item(cmd::kLanguageEnglish, "English"), item(cmd::kLanguageChinese, "Chinese")}),
        helpMenu(),
    };
}

MenuBarLayout documentWindowMenu() {
    return {
        menu("&File",
             QList<MenuItem>{item(cmd::kFileNew, "&New", QKeySequence(Qt::CTRL | Qt::Key_N)),
                             item(cmd::kPrint, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P)),
                             item(cmd::kPrintPreview, "Print Pre&view"),
                             item(cmd::kPrintSetup, "P&rint Setup..."), separator()} +
                 recentFilesAndExit()),
        viewMenu(),
        menu("&Tools", {item(cmd::kConnect, "Connect to Device"),
                        item(cmd::kDisconnect, "Disconnect"), item(cmd::kOption, "Option")}),
        menu("&Window",
             {item(cmd::kWindowCascade, "&Cascade"), item(cmd::kWindowTileHorizontal, "Horizontal"),
              item(cmd::kWindowTileVertical, "Vertical"),
              item(cmd::kWindowArrange, "&Arrange Icons")}),
        helpMenu(),
    };
}

MenuBarLayout instrumentWindowMenu(int saveCommand) {
    MenuBarLayout layout = documentWindowMenu();
    for (MenuItem& menu : layout) {
        if (menu.text != QStringLiteral("&File")) continue;
        QList<MenuItem>& items = menu.items;
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items[i].command == cmd::kFileNew) {
                items.insert(
                    ++i,
                    MenuItem{saveCommand, QString::fromLatin1(savetext::kSaveItem), {}, false, {}});
            } else if (items[i].command == cmd::kPrintSetup) {
                items.insert(++i, MenuItem{cmd::kExportPdf,
                                           QString::fromLatin1(savetext::kExportPdfItem),
                                           {},
                                           false,
                                           {}});
            }
        }
    }
    return layout;
}

QString commandTip(int command) {
    static const std::unordered_map<int, const char*> tips = {
        {cmd::kFileNew, "Create a new document"},
        {cmd::kFileOpen, "Open a saved trace in a window of its own"},
        {cmd::kPrint, "Print the active document"},
        {cmd::kPrintPreview, "Display full pages"},
        {cmd::kPrintSetup, "Change the printer and printing options"},
        {cmd::kAppExit, "Quit the application"},
        {cmd::kAppAbout, "Display program information, version number and copyright"},
        {cmd::kViewToolBar, "Show or hide the toolbar"},
        {cmd::kViewStatusBar, "Show or hide the status bar"},
        {cmd::kViewBrowserBar, "Show or hide the document browser"},
        {cmd::kWindowCascade, "Arrange windows so they overlap"},
        {cmd::kWindowTileHorizontal, "Arrange windows as non-overlapping tiles"},
        {cmd::kWindowTileVertical, "Arrange windows side by side"},
        {cmd::kWindowArrange, "Arrange icons at the bottom of the window"},
        {cmd::kNewScope, "Create a new digital scope window"},
        {cmd::kNewMeter, "Create a new digital meter window"},
        {cmd::kNewGenerator, "Create a new function generator window"},
        {cmd::kConnect, "Connect the window to its instrument"},
        {cmd::kDisconnect, "Disconnect the window from its instrument"},
        {cmd::kOption, "Choose the instrument of the window"},
    };
    auto it = tips.find(command);
    return it == tips.end() ? QString() : QString::fromLatin1(it->second);
}

}  // namespace oscilane
