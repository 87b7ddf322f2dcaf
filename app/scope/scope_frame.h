// The scope window's frame: its tool bar and the docked "DSO Controller"
// panel beside the view.  A tool bar button runs its command on the view,
// the document or the frame, and is disabled when none of them handles it.
#pragma once

#include "shell/instrument_frame.h"

class QAction;
class QDockWidget;
class QToolBar;

namespace oscilane {

class ScopeView;
class SideBar;

class ScopeFrame : public InstrumentFrame {
    Q_OBJECT
  public:
    static constexpr QSize kMinimumSize{400, 247};

    ScopeFrame(Document& document, ScopeView* view);
    QSize sizeHint() const override;

    SideBar* panelBar() const { return panelBar_; }
    QDockWidget* measureDock() const { return measureDock_; }

  private:
    ScopeView* view_;
    SideBar* panelBar_;
    QDockWidget* measureDock_ = nullptr;
    QToolBar* toolBar_ = nullptr;
};

}  // namespace oscilane
