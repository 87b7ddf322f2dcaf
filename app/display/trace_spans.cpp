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
    for (const ColumnSpan& s : trace.spans)
        fillColumn(pixels + s.top * stride + s.x, stride, s.bottom - s.top + 1, trace.colour);
}

void restoreSpans(QRgb* pixels, const QRgb* source, qsizetype stride, const TraceSpans& last,
                  const TraceSpans* now) {
    // Both lists run left to right within each unbroken run of the trace;
    // where they do not, a column simply finds nothing to keep.
    const std::vector<ColumnSpan> none;
    const std::vector<ColumnSpan>& again = now ? now->spans : none;
    std::size_t j = 0;
    int previous = INT_MIN;
    for (const ColumnSpan& s : last.spans) {
        // A new run, or points in no order: look from the start again.
        if (s.x < previous) j = 0;
        previous = s.x;
        while (j < again.size() && again[j].x < s.x) ++j;
        if (j == again.size() || again[j].x != s.x) {
            restoreRows(pixels, source, stride, s.x, s.top, s.bottom);
            continue;
        }
        // The part of the old span above and below the new one.
        const ColumnSpan& kept = again[j];
        restoreRows(pixels, source, stride, s.x, s.top, std::min(s.bottom, kept.top - 1));
        restoreRows(pixels, source, stride, s.x, std::max(s.top, kept.bottom + 1), s.bottom);
    }
}

}  // namespace oscilane
