// A trace as the column spans it sets, worked out before anything of a
// frame is drawn: the screen then puts back, of the last frame's spans of
// the same trace, only the pixels this frame's spans do not set again (a
// noisy trace mostly covers the same pixels from one frame to the next).
#pragma once

#include <QRect>
#include <QRgb>
#include <QtGlobal>
#include <cstring>
#include <type_traits>
#include <vector>

namespace oscilane {

struct ColumnSpan {
    int x = 0;
    int top = 0;
    int bottom = 0;
    bool operator==(const ColumnSpan&) const = default;
};

struct TraceSpans {
    QRgb colour = 0;
    std::vector<ColumnSpan> spans;  // in the order they are set
    std::vector<QRect> covers;      // rectangles over them, for the repaint
    void clear() {
        spans.clear();
        covers.clear();
    }
    // The same pixels in the same colour.
    bool sameAs(const TraceSpans& other) const {
        static_assert(std::has_unique_object_representations_v<ColumnSpan>);
        // An empty list may have no storage, and memcmp takes no null pointer.
        return colour == other.colour && spans.size() == other.spans.size() &&
               (spans.empty() || std::memcmp(spans.data(), other.spans.data(),
                                             spans.size() * sizeof(ColumnSpan)) == 0);
    }
};

// Sets rows top..bottom of the column at `pixel` (rows `stride` apart).
inline void fillColumn(QRgb* pixel, qsizetype stride, int rows, QRgb colour) {
    // Four rows a step: most of a steep trace's pixels are in long spans.
    for (; rows >= 4; rows -= 4, pixel += 4 * stride) {
        pixel[0] = colour;
        pixel[stride] = colour;
        pixel[2 * stride] = colour;
        pixel[3 * stride] = colour;
    }
    for (; rows > 0; --rows, pixel += stride) *pixel = colour;
}

inline void copyColumn(QRgb* pixel, const QRgb* kept, qsizetype stride, int rows) {
    for (; rows >= 4; rows -= 4, pixel += 4 * stride, kept += 4 * stride) {
        pixel[0] = kept[0];
        pixel[stride] = kept[stride];
        pixel[2 * stride] = kept[2 * stride];
        pixel[3 * stride] = kept[3 * stride];
    }
    for (; rows > 0; --rows, pixel += stride, kept += stride) *pixel = *kept;
}

// Sets the trace's spans in an image's `pixels` (rows `stride` apart).
void setSpans(QRgb* pixels, qsizetype stride, const TraceSpans& trace);
// Copies back from `source` (an image of the same size) the pixels of
// `last`'s spans that `now`'s spans in the same columns do not set again.
void restoreSpans(QRgb* pixels, const QRgb* source, qsizetype stride, const TraceSpans& last,
                  const TraceSpans* now);

}  // namespace oscilane
