// The generator window's frame: the tool bar of wave types, grid, best fit,
// zoom, Save and Open CSV (a check mark on the current type and on the grid
// and best-fit switches), and the docked "DDS Controller" bar.
#pragma once

#include "shell/instrument_frame.h"

class QAction;

namespace oscilane {

class GeneratorView;
class SideBar;

class GeneratorFrame : public InstrumentFrame {
    Q_OBJECT
  public:
    GeneratorFrame(Document& document, GeneratorView* view);

    SideBar* controllerBar() const { return controllerBar_; }

  private:
    GeneratorView* view_;
    SideBar* controllerBar_;
};

}  // namespace oscilane
