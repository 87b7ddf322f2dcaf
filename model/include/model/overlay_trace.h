// A saved trace drawn over a live scope window: the capture's volts and
// clock converted to the live window's volts/div, probe, lever and time
// base of the same channel, as points on the 12 x 8 division grid.  The
// overlay is the application's own; nothing of it goes to the instrument.
#pragma once

#include <optional>
#include <vector>

#include "model/capture_file.h"
#include "model/scope_settings.h"

namespace oscilane {

// Where the live window puts a channel's volts and samples.
struct OverlayScale {
    double voltsPerDivision = 1;    // at the probe tip
    double zeroDivisions = 4;       // height of 0 V above the grid's bottom edge
    double secondsPerDivision = 0;  // 0: the file's own clock is kept
};

// The live scale of a channel of the displayed block; none when its volts
// index is outside the table.
std::optional<OverlayScale> LiveOverlayScale(const ScopeSettings& live, int channel);

// A point on the grid in divisions: x from the left edge (0 .. 12), y up
// from the bottom edge (0 .. 8).
struct GridPoint {
    double x = 0;
    double y = 0;
    bool operator==(const GridPoint&) const = default;
};

// The trace's samples as runs of joined points: a sample without volts
// ends a run; samples past the grid's right edge are left out; heights
// beyond the grid are held at its edge, as the live traces are.  A file
// clock of 0 (a time base outside the table when it was saved) or a live
// clock of 0 draws the samples at the live spacing of 100 a division.
std::vector<std::vector<GridPoint>> OverlayRuns(const CaptureTrace& trace,
                                                double fileSecondsPerDivision,
                                                const OverlayScale& live);

}  // namespace oscilane
