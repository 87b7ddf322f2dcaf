// The scope window's frame: its tool bar and the docked "DSO Controller"
// panel beside the view.  A tool bar button runs its command on the view,
// the document or the frame, and is disabled when none of them handles it.
#pragma once

#include <QList>
#include <QTimer>

#include "shell/child_frame.h"

class QAction;
class QDockWidget;
class QToolBar;

namespace oscilane {

class ScopeView;
class SideBar;

class ScopeFrame : public ChildFrame {
    Q_OBJECT
  public:
    static constexpr QSize kMinimumSize{400, 247};

    ScopeFrame(Document& document, ScopeView* view);
    QSize sizeHint() const override;

    SideBar* panelBar() const { return panelBar_; }
    QDockWidget* measureDock() const { return measureDock_; }
    QAction* action(int id) const;
    void updateActions();

  private:
    const CommandTarget* handlerOf(int id) const;

    ScopeView* view_;
    SideBar* panelBar_;
    QDockWidget* measureDock_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QList<QAction*> actions_;
    QTimer actionTimer_;
};

}  // namespace oscilane
