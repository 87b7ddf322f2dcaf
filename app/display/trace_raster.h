// Traces drawn straight into the pixels of a 32-bit image.  A trace is a few
// thousand pixels at most, and Qt's general polygon rasterizer spends most of
// a frame on its many short segments; here each segment becomes, for every
// pixel column it crosses, one vertical span of the pixels that round to
// that column: one pixel wide, solid, with both end points set, clipped to a
// rectangle.  The pixels are those of Qt's cosmetic line through the same
// points, give or take one where a line passes exactly between two pixels.
//
// TracePen picks the path: the raster for a painter that paints an image
// untransformed, Qt's own polyline for anything else (a scaled picture, a
// printed page), so one drawing serves every target.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

namespace oscilane {

class TraceRaster {
  public:
    // `image` must be one of the 32-bit RGB formats; `clip` (edges included)
    // is cut down to the image.
    TraceRaster(QImage& image, const QRect& clip, const QColor& colour);

    // Connected segments through the points in order; a single point is
    // no line and draws nothing.
    void polyline(const QPoint* points, int count);
    // Each point on its own.
    void points(const QPoint* points, int count);

  private:
    void segment(QPoint from, QPoint to);
    // Column x from row y0 to row y1 (either order), clipped.
    void span(int x, int y0, int y1);

    uchar* bits_;
    qsizetype bytesPerLine_;
    QRect clip_;
    QRgb colour_;
};

class TracePen {
  public:
    TracePen(QPainter& painter, const QRect& clip, const QColor& colour);

    void polyline(const QPoint* points, int count);
    void points(const QPoint* points, int count);

  private:
    QPainter& painter_;
    QRect clip_;
    QColor colour_;
    QImage* image_ = nullptr;  // set when the raster serves the painter
};

}  // namespace oscilane
