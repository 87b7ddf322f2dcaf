// The meter window's frame: its tool bar (Save, the side-bar toggle, the
// six measure modes with a check mark on the reported one, Option, Connect,
// Disconnect) and the docked "DMM Controller" bar beside the view.
#pragma once

#include <QList>
#include <QTimer>

#include "shell/child_frame.h"

class QAction;
class QToolBar;

namespace oscilane {

class MeterView;
class SideBar;

class MeterFrame : public ChildFrame {
    Q_OBJECT
  public:
    MeterFrame(Document& document, MeterView* view);

    SideBar* controllerBar() const { return controllerBar_; }
    QAction* action(int id) const;
    void updateActions();

  private:
    const CommandTarget* handlerOf(int id) const;

    MeterView* view_;
    SideBar* controllerBar_;
    QList<QAction*> actions_;
    QTimer actionTimer_;
};

ChildFrame* createMeterFrame(Document& document, QWidget* view);

}  // namespace oscilane
