// The frame's "Measure" bar: the measure bar with the statistics table beside
// it, docked below the display and hidden until the Measure command shows it.
#pragma once

class QDockWidget;
class QMainWindow;

namespace oscilane {

class ScopeView;

// Adds the bar to the frame's body, hidden, working on the view's measurements.
QDockWidget* createMeasureDock(QMainWindow& body, ScopeView& view);

}  // namespace oscilane
