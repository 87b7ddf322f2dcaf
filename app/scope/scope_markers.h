// Where the nine markers of the scope display stand, what they look like,
// where they can be grabbed and what dropping them asks of the instrument.
// Pure geometry over the grid rectangle; the display keeps the state.
#pragma once

#include <QPoint>
#include <QPolygon>
#include <array>
#include <cstdint>

#include "device/queued_command.h"
#include "display/grid_geometry.h"

namespace oscilane {

enum MarkerIndex {
    kCh1LevelMarker = 0,
    kCh2LevelMarker,
    kMathLevelMarker,
    kRefLevelMarker,
    kCh1TriggerMarker,
    kCh2TriggerMarker,
    kExtTriggerMarker,
    kHorizontalTriggerMarker,
    kXyHorizontalMarker,
    kMarkerCount
};

// Which way a marker's arrow points.  Level markers point right, at the grid.
enum class Pointing { Right, Left, Up, Down };

struct MarkerPlace {
    QPoint point;
    Pointing pointing = Pointing::Right;
    bool operator==(const MarkerPlace&) const = default;
};

// Level markers of the four waveforms: left of the grid at the lever's height.
MarkerPlace levelMarkerPlace(const GridRect& g, int lever);
// Trigger level markers right of the grid; at a rail they stand on the edge
// and point along it.
MarkerPlace triggerMarkerPlace(const GridRect& g, int level);
// The same marker after a drag to height y.
MarkerPlace triggerMarkerAtY(const GridRect& g, int y);
// The EXT marker always points left, beside the grid.
MarkerPlace extTriggerMarkerPlace(const GridRect& g, int level);
// Horizontal trigger position 0..300 above the grid; at an end it points out.
MarkerPlace horizontalMarkerPlace(const GridRect& g, int position);
MarkerPlace horizontalMarkerAtX(const GridRect& g, int x);
// The X-Y horizontal marker above the grid at CH1's lever.
MarkerPlace xyMarkerPlace(const GridRect& g, int lever);

// The X-Y area: the grid's central 8 divisions across.
int xyAreaLeft(const GridRect& g);
int xyAreaRight(const GridRect& g);

struct MarkerShape {
    QPolygon polygon;
    QPoint labelTopLeft;
};
MarkerShape markerShape(int marker, const MarkerPlace& place);

// The rectangle in which a press grabs the marker (right and bottom excluded).
GridRect markerHitRect(int marker, const MarkerPlace& place, const GridRect& g);

// The marker moved by a drag to `mouse`, kept within its range.
MarkerPlace draggedMarkerPlace(int marker, const MarkerPlace& place, QPoint mouse,
                               const GridRect& g);

QueuedCommand markerDropCommand(int marker, const MarkerPlace& place, const GridRect& g);

}  // namespace oscilane
