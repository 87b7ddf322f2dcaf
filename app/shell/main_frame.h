// The application's main window: menu bar, tool bar, status bar, the
// document browser on the left and the document windows in an MDI area.
// The menu bar shows the active document window's menu, or the frame's own
// when none is active.  Commands go to the active view, its document, its
// frame, this frame and then the application, whichever handles them first.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>

#include "shell/command_map.h"
#include "shell/menu_layout.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace oscilane {

class ChildFrame;
class DocumentBrowser;
class DocumentCatalog;

class MainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
  public:
    static constexpr const char* kTitle = "Oscilane for Zelvo Ver 1.03";

    // application: the last stop of the command route.
    MainFrame(DocumentCatalog& catalog, CommandTarget& application, const QStringList& categories);
    ~MainFrame() override;

    QMdiArea* mdiArea() const { return mdiArea_; }
    DocumentBrowser* browser() const { return browser_; }
    QToolBar* toolBar() const { return toolBar_; }

    void addChildFrame(ChildFrame* frame);
    ChildFrame* activeChildFrame() const;

    void runCommand(int id);
    // Disabled when nothing on the route handles the command.
    CommandState commandState(int id) const;
    void updateCommandUi();

    // What a second start of the application asks of the running one.
    void restoreAndRaise();

  protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolBar();
    void buildStatusBar();
    void registerFrameCommands();
    QList<QMenu*> buildMenus(const MenuBarLayout& layout);
    void fillMenu(QMenu* menu, const QList<MenuItem>& items);
    void showMenusFor(QMdiSubWindow* window);
    QAction* commandAction(int id, const QString& text, QObject* owner);
    QList<const CommandTarget*> route() const;
    void tile(Qt::Orientation stacking);
    void arrangeIcons();

    CommandTarget& application_;
    QMdiArea* mdiArea_;
    DocumentBrowser* browser_;
    QToolBar* toolBar_ = nullptr;
    QList<QLabel*> lockIndicators_;
    QList<QMenu*> ownMenus_;
    QHash<const MenuBarLayout*, QList<QMenu*>> windowMenus_;
    QList<QAction*> commandActions_;
};

}  // namespace oscilane
