// The generator window's frame: the tool bar of wave types, grid, best fit,
// zoom, Save and Open CSV (a check mark on the current type and on the grid
// and best-fit switches), and the docked "DDS Controller" bar.
#pragma once

#include <QList>
#include <QTimer>

#include "shell/child_frame.h"

class QAction;

namespace oscilane {

class GeneratorView;
class SideBar;

class GeneratorFrame : public ChildFrame {
    Q_OBJECT
  public:
    GeneratorFrame(Document& document, GeneratorView* view);

    SideBar* controllerBar() const { return controllerBar_; }
    QAction* action(int id) const;
    void updateActions();

  private:
    const CommandTarget* handlerOf(int id) const;

    GeneratorView* view_;
    SideBar* controllerBar_;
    QList<QAction*> actions_;
    QTimer actionTimer_;
};

}  // namespace oscilane
