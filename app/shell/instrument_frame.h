// A document window whose tool-bar buttons follow their commands: a button
// runs its command on the view, the document or the frame, whichever handles
// it first, and is enabled and checked as that command's state says
// (disabled when none handles it), at once after a click and every 250 ms.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QTimer>
#include <span>

#include "shell/child_frame.h"
#include "shell/tool_bar_buttons.h"

class QAction;
class QDockWidget;
class QToolBar;

namespace oscilane {

class SideBar;

class InstrumentFrame : public ChildFrame {
    Q_OBJECT
  public:
    // `viewCommands` is the view's own command target.
    InstrumentFrame(Document& document, QWidget* view, const CommandTarget& viewCommands);

    // The button of a command, if the frame has one.
    QAction* action(int id) const;
    void updateActions();

  protected:
    // A new button action for command `id`, owned by `parent`.
    QAction* commandAction(int id, const QString& text, QObject* parent,
                           const QIcon& icon = QIcon());
    // A tool bar of the body, filled with the table's command buttons.
    QToolBar* addCommandToolBar(const QString& title, std::span<const ToolBarButton> buttons);
    // Puts the view's controls, if it has any, into the bar at the width
    // they need, and docks the bar on the left of the body.
    void dockControls(SideBar& bar, QWidget* controls);
    // Command `id` shows or hides the dock; it is checked while the dock shows.
    void addDockToggle(int id, QDockWidget& dock);
    // Keeps the buttons up to date from now on; called once they all exist.
    void startActionUpdates();

  private:
    const CommandTarget* handlerOf(int id) const;

    const CommandTarget& viewCommands_;
    QList<QAction*> actions_;
    QTimer actionTimer_;
};

}  // namespace oscilane
