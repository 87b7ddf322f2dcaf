// The grid rectangle of a display surface, in whole pixels.  Edges are kept
// as left, top, right, bottom; width and height are their differences, and
// the grid lines stand on the edges themselves.
#pragma once

#include <QPoint>

namespace oscilane {

struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return width() <= 0 || height() <= 0; }
    bool contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
    bool operator==(const GridRect&) const = default;
};

struct Margins {
    int left = 20;
    int top = 20;
    int right = 200;
    int bottom = 200;
};

// How many divisions a grid has across and down; its cells are square.
struct Divisions {
    int across = 12;
    int down = 8;
};

// The largest grid of square divisions hanging from the top-left margin
// corner of a client area; `previous` when even that does not fit.
GridRect bestFitGrid(int clientWidth, int clientHeight, const Margins& margins,
                     const GridRect& previous, Divisions divisions = {});

}  // namespace oscilane
