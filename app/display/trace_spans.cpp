#include "display/trace_spans.h"

#include <algorithm>
#include <climits>

namespace oscilane {
namespace {

void restoreRows(QRgb* pixels, const QRgb* source, qsizetype stride, int x, int top, int bottom) {
    if (top > bottom) return;
    const qsizetype at = top * stride + x;
    copyColumn(pixels + at, source + at, stride, bottom - top + 1);
}

}  // namespace

void setSpans(QRgb* pixels, qsizetype stride, const TraceSpans& trace) {
    // Local copies throughout: the pixels written are of the span's own
    // integer type, so the compiler would read every span field again.
    const QRgb colour = trace.colour;
    const ColumnSpan* const end = trace.spans.data() + trace.spans.size();
    for (const ColumnSpan* at = trace.spans.data(); at != end; ++at) {
        const ColumnSpan s = *at;
        fillColumn(pixels + s.top * stride + s.x, stride, s.bottom - s.top + 1, colour);
    }
}

void restoreSpans(QRgb* pixels, const QRgb* source, qsizetype stride, const TraceSpans& last,
                  const TraceSpans* now) {
    // Both lists run left to right within each unbroken run of the trace;
    // where they do not, a column simply finds nothing to keep.
    const ColumnSpan* const againBegin = now ? now->spans.data() : nullptr;
    const ColumnSpan* const againEnd = now ? againBegin + now->spans.size() : nullptr;
    const ColumnSpan* again = againBegin;
    int previous = INT_MIN;
    const ColumnSpan* const end = last.spans.data() + last.spans.size();
    for (const ColumnSpan* at = last.spans.data(); at != end; ++at) {
        const ColumnSpan s = *at;
        // A new run, or points in no order: look from the start again.
        if (s.x < previous) again = againBegin;
        previous = s.x;
        while (again != againEnd && again->x < s.x) ++again;
        if (again == againEnd || again->x != s.x) {
            restoreRows(pixels, source, stride, s.x, s.top, s.bottom);
            continue;
        }
        // The part of the old span above and below the new one.
        const ColumnSpan kept = *again;
        restoreRows(pixels, source, stride, s.x, s.top, std::min(s.bottom, kept.top - 1));
        restoreRows(pixels, source, stride, s.x, std::max(s.top, kept.bottom + 1), s.bottom);
    }
}

}  // namespace oscilane
