// The meter window's frame: its tool bar (Save, the side-bar toggle, the
// six measure modes with a check mark on the reported one, Option, Connect,
// Disconnect) and the docked "DMM Controller" bar beside the view.
#pragma once

#include "shell/instrument_frame.h"

class QAction;
class QToolBar;

namespace oscilane {

class MeterView;
class SideBar;

class MeterFrame : public InstrumentFrame {
    Q_OBJECT
  public:
    MeterFrame(Document& document, MeterView* view);

    SideBar* controllerBar() const { return controllerBar_; }

  private:
    MeterView* view_;
    SideBar* controllerBar_;
};

ChildFrame* createMeterFrame(Document& document, QWidget* view);

}  // namespace oscilane
