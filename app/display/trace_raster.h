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
#include <climits>

#include "display/drawn_area.h"
#include "display/trace_spans.h"

class QPainter;

namespace oscilane {

class TraceRaster {
  public:
    // `image` must be one of the 32-bit RGB formats; `clip` (edges included)
    // is cut down to the image.  Each span set is added to `drawn` if
    // given, and a rectangle over each polyline's or point set's as its cover.
    TraceRaster(QImage& image, const QRect& clip, const QColor& colour, DrawnArea* drawn = nullptr);
    // Sets nothing: the spans and covers go to `into`, for an image whose
    // pixels within `clip` they may set later.
    TraceRaster(const QRect& clip, TraceSpans& into);
    // Sets its spans in the image, or hands the last one to `into`.
    ~TraceRaster();
    TraceRaster(const TraceRaster&) = delete;
    TraceRaster& operator=(const TraceRaster&) = delete;

    // Connected segments through the points in order; a single point is
    // no line and draws nothing.
    void polyline(const QPoint* points, int count);
    // Each point on its own.
    void points(const QPoint* points, int count);

  private:
    // The points of a polyline all known to lie in the clip.
    void unclippedPolyline(const QPoint* points, int count);
    // `Clipped` false when both ends are known to lie in the clip.
    template <bool Clipped>
    void segment(QPoint from, QPoint to);
    // Column x from row y0 to row y1 (either order), clipped; kept back
    // until the next span shows whether it continues this one.
    template <bool Clipped>
    void span(int x, int y0, int y1);
    void flush();
    static QRect boundsOf(const QPoint* points, int count);
    // Records the part of `bounds` in the clip as the cover of what follows.
    void cover(const QRect& bounds);

    static constexpr int kNoColumn = INT_MIN;
    ColumnSpan pending_{kNoColumn, 0, 0};  // the span kept back, if any

    QRgb* pixels_;
    qsizetype stride_;  // pixels from one row to the next
    QRect clip_;
    DrawnArea* drawn_;
    // The spans go to the caller's list, or to the raster's own, set in
    // the image when it is done.
    TraceSpans own_;
    TraceSpans* into_;
};

class TracePen {
  public:
    // `drawn`, if given, gets the rectangles the pen may have set.
    TracePen(QPainter& painter, const QRect& clip, const QColor& colour,
             DrawnArea* drawn = nullptr);
    // A pen that sets nothing and keeps the spans in `into`.
    TracePen(const QRect& clip, TraceSpans& into);

    void polyline(const QPoint* points, int count);
    void points(const QPoint* points, int count);

  private:
    // Through the raster it keeps or writes with, or Qt's own drawing.
    template <typename Raster, typename QtDraw>
    void draw(Raster raster, QtDraw qtDraw);

    QPainter* painter_ = nullptr;
    QRect clip_;
    QColor colour_;
    DrawnArea* drawn_ = nullptr;
    QImage* image_ = nullptr;  // set when the raster serves the painter
    TraceSpans* into_ = nullptr;
};

}  // namespace oscilane
