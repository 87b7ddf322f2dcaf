#include "display/trace_raster.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace oscilane {
namespace {

// ceil(n / d) for d > 0 and n of either sign.
int64_t ceilDiv(int64_t n, int64_t d) { return n >= 0 ? (n + d - 1) / d : -(-n / d); }

bool rasterFormat(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}

// Qt's own drawing of the same pixels, for painters the raster cannot serve.
template <typename Draw>
void drawClipped(QPainter& p, const QRect& clip, const QColor& colour, Draw draw) {
    p.save();
    p.setClipRect(clip, Qt::IntersectClip);
    p.setPen(QPen(colour, 0));
    draw();
    p.restore();
}

}  // namespace

TraceRaster::TraceRaster(QImage& image, const QRect& clip, const QColor& colour, DrawnArea* drawn)
    : pixels_(reinterpret_cast<QRgb*>(image.bits())),
      stride_(image.bytesPerLine() / 4),
      clip_(clip.intersected(image.rect())),
      drawn_(drawn),
      into_(&own_) {
    own_.colour = colour.rgba();
}

TraceRaster::TraceRaster(const QRect& clip, TraceSpans& into)
    : pixels_(nullptr), stride_(0), clip_(clip), drawn_(nullptr), into_(&into) {}

TraceRaster::~TraceRaster() {
    flush();
    if (into_ != &own_) return;
    if (drawn_)
        for (const ColumnSpan& s : own_.spans)
            drawn_->addCovered(QRect(s.x, s.top, 1, s.bottom - s.top + 1));
    setSpans(pixels_, stride_, own_);
}

template <bool Clipped>
inline void TraceRaster::span(int x, int y0, int y1) {
    int top = std::min(y0, y1), bottom = std::max(y0, y1);
    if constexpr (Clipped) {
        if (x < clip_.left() || x > clip_.right()) return;
        top = std::max(top, clip_.top());
        bottom = std::min(bottom, clip_.bottom());
        if (top > bottom) return;
    }
    // Consecutive segments meet in a column at their shared point: their
    // spans there become one, set once.
    if (x == pending_.x && top <= pending_.bottom + 1 && bottom >= pending_.top - 1) {
        pending_.top = std::min(pending_.top, top);
        pending_.bottom = std::max(pending_.bottom, bottom);
        return;
    }
    flush();
    pending_ = {x, top, bottom};
}

inline void TraceRaster::flush() {
    if (pending_.x == kNoColumn) return;
    into_->spans.push_back(pending_);
    pending_.x = kNoColumn;
}

template <bool Clipped>
void TraceRaster::segment(QPoint from, QPoint to) {
    // From the left end; the rounding of each direction is the one Qt's
    // cosmetic lines use, so the two agree but for the odd tie.
    if (from.x() > to.x()) std::swap(from, to);
    const int x0 = from.x(), y0 = from.y();
    const int64_t dx = int64_t{to.x()} - x0;
    const int64_t dy = int64_t{to.y()} - y0;
    const int64_t rise = std::abs(dy);
    const bool down = dy >= 0;
    const int sign = down ? 1 : -1;
    if (dx == 0) {
        span<Clipped>(x0, y0, to.y());
        return;
    }
    if (rise <= dx) {
        // Flat: one row in each column, and only the columns inside the
        // clip are visited, however long the segment.
        const int64_t first = std::max<int64_t>(0, int64_t{clip_.left()} - x0);
        const int64_t last = std::min<int64_t>(dx, int64_t{clip_.right()} - x0);
        for (int64_t k = first; k <= last; ++k) {
            const int64_t row =
                down ? std::min(rise, (2 * k + 1) * rise / (2 * dx)) : ceilDiv(k * rise, dx);
            const int y = static_cast<int>(y0 + sign * row);
            span<Clipped>(static_cast<int>(x0 + k), y, y);
        }
        return;
    }
    // Steep: one column in each row, row j of the segment (y0 + j going
    // down, y0 - j going up) in column k = trunc((2j + 1) dx / 2 rise) going
    // down and trunc(j dx / rise) going up; here the other way round, the
    // rows of each column, which make its span.  Column k's first row is
    // ceil(n / d) with n growing by a fixed step each column, so it is kept
    // as a quotient and a remainder and stepped without a division.
    const int64_t d = down ? 2 * dx : dx;
    const int64_t step = down ? 2 * rise : rise;
    const int64_t first = std::max<int64_t>(0, int64_t{clip_.left()} - x0);
    const int64_t last = std::min<int64_t>(dx, int64_t{clip_.right()} - x0);
    if (first > last) return;
    const int64_t n = down ? step * first - dx : step * first;
    int64_t low = ceilDiv(n, d);
    int64_t excess = low * d - n;  // in [0, d)
    const int64_t whole = step / d, part = step % d;
    for (int64_t k = first; k <= last; ++k) {
        int64_t next = low + whole;
        excess -= part;
        if (excess < 0) {
            excess += d;
            ++next;
        }
        if (k == dx) next = rise + 1;
        span<Clipped>(static_cast<int>(x0 + k), static_cast<int>(y0 + sign * low),
                      static_cast<int>(y0 + sign * (next - 1)));
        low = next;
    }
}

void TraceRaster::cover(const QRect& bounds) {
    const QRect cover = bounds & clip_;
    if (into_ != &own_) into_->covers.push_back(cover);
    if (drawn_) drawn_->cover(cover);
}

QRect TraceRaster::boundsOf(const QPoint* points, int count) {
    int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, points[i].x());
        right = std::max(right, points[i].x());
        top = std::min(top, points[i].y());
        bottom = std::max(bottom, points[i].y());
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void TraceRaster::polyline(const QPoint* points, int count) {
    if (clip_.isEmpty() || count < 2) return;
    const QRect bounds = boundsOf(points, count);
    cover(bounds);
    // A trace's points are most often all inside: no clipping then.
    if (clip_.contains(bounds)) {
        unclippedPolyline(points, count);
    } else {
        for (int i = 1; i < count; ++i) segment<true>(points[i - 1], points[i]);
    }
}

void TraceRaster::unclippedPolyline(const QPoint* points, int count) {
    // Room for a span a point, grown as push_back would grow it: a trace
    // broken into many short runs comes here once for each.
    std::vector<ColumnSpan>& out = into_->spans;
    const std::size_t needed = out.size() + static_cast<std::size_t>(count);
    if (needed > out.capacity()) out.reserve(std::max(needed, 2 * out.capacity()));
    for (int i = 1; i < count; ++i) {
        const QPoint from = points[i - 1], to = points[i];
        const int y0 = from.y(), y1 = to.y();
        // The usual step of a trace: one column on from the point the last
        // step ended at, whose column is still open.  The rows short of
        // the far end stay in this column (what segment() gives for it),
        // and the far end opens the next.
        if (to.x() - from.x() == 1 && pending_.x == from.x() && pending_.top <= y0 &&
            y0 <= pending_.bottom) {
            const int end = y1 > y0 ? y1 - 1 : y1 < y0 ? y1 + 1 : y0;
            out.push_back(
                {pending_.x, std::min(pending_.top, end), std::max(pending_.bottom, end)});
            pending_ = {to.x(), y1, y1};
            continue;
        }
        segment<false>(from, to);
    }
}

void TraceRaster::points(const QPoint* points, int count) {
    if (clip_.isEmpty() || count <= 0) return;
    cover(boundsOf(points, count));
    for (int i = 0; i < count; ++i) {
        const QPoint p = points[i];
        if (clip_.contains(p)) span<false>(p.x(), p.y(), p.y());
    }
}

TracePen::TracePen(QPainter& painter, const QRect& clip, const QColor& colour, DrawnArea* drawn)
    : painter_(&painter), clip_(clip), colour_(colour), drawn_(drawn) {
    // The raster writes pixels as they are: only where the painter would
    // have done the same, untransformed, unclipped, opaque and aliased.
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image) return;
    auto* image = static_cast<QImage*>(device);
    if (rasterFormat(image->format()) && painter.deviceTransform().isIdentity() &&
        !painter.hasClipping() && !painter.testRenderHint(QPainter::Antialiasing) &&
        painter.opacity() == 1.0 &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver && colour.alpha() == 255)
        image_ = image;
}

TracePen::TracePen(const QRect& clip, TraceSpans& into) : clip_(clip), into_(&into) {}

template <typename Raster, typename QtDraw>
void TracePen::draw(Raster raster, QtDraw qtDraw) {
    if (into_) {
        TraceRaster kept(clip_, *into_);
        raster(kept);
        return;
    }
    if (image_) {
        TraceRaster direct(*image_, clip_, colour_, drawn_);
        raster(direct);
        return;
    }
    if (drawn_) drawn_->add(clip_);
    drawClipped(*painter_, clip_, colour_, qtDraw);
}

void TracePen::polyline(const QPoint* points, int count) {
    if (count < 2) return;
    draw([&](TraceRaster& r) { r.polyline(points, count); },
         [&] { painter_->drawPolyline(points, count); });
}

void TracePen::points(const QPoint* points, int count) {
    if (count <= 0) return;
    draw([&](TraceRaster& r) { r.points(points, count); },
         [&] { painter_->drawPoints(points, count); });
}

}  // namespace oscilane
