// Drawing of the scope cursors: the lines of the two cursor points (dotted
// for the latest point, solid for the start of the drag), the trace cursor's
// mark, and the readouts to the right of the grid.  The numbers come from
// the model's cursor readouts.
#pragma once

#include <QPoint>
#include <QString>
#include <vector>

#include "display/grid_geometry.h"
#include "model/cursor_readouts.h"

class QPainter;

namespace oscilane {

// Puts both points inside the grid: x within [left + 1, right - 1], y within
// [top + 1, bottom - 1].
void clampCursorPoints(const GridRect& grid, QPoint& first, QPoint& latest);

// The lines of both points, and the trace cursor's mark; nothing for no cursor.
void drawCursorLines(QPainter& p, const GridRect& grid, const ScopeSettings& s,
                     const CursorChoice& choice, QPoint first, QPoint latest);

// One line of the readout column: its offset below the grid top and its text.
struct ReadoutLine {
    int y;
    QString text;
    bool operator==(const ReadoutLine&) const = default;
};
std::vector<ReadoutLine> cursorReadoutLines(const GridRect& grid, const ScopeSettings& s,
                                            const CursorChoice& choice, QPoint first,
                                            QPoint latest);
// Writes the readouts at grid right + 30 in the cursor channel's colour.
void drawCursorReadouts(QPainter& p, const GridRect& grid, const ScopeSettings& s,
                        const CursorChoice& choice, QPoint first, QPoint latest);

}  // namespace oscilane
