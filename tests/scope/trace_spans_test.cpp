// A frame puts back, of the last frame's spans of a trace, only the pixels
// that the same trace does not set again; whatever it leaves is set over
// by the new spans, so leaving a pixel it should restore shows a stale trace.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "display/trace_spans.h"

using oscilane::ColumnSpan;
using oscilane::TraceSpans;

namespace {

constexpr int kWidth = 6, kHeight = 24;
constexpr QRgb kLastFrame = 0xFF00FF00, kBeneath = 0xFF000000;

TraceSpans trace(std::vector<ColumnSpan> spans) {
    TraceSpans t;
    t.colour = 0xFFFFFF00;
    t.spans = std::move(spans);
    return t;
}

// The pixels of each column that came back from beneath, as a string per
// column ('.' kept, 'r' restored), for the columns named.
std::vector<std::string> restoredColumns(const TraceSpans& last, const TraceSpans* now) {
    std::vector<QRgb> pixels(kWidth * kHeight, kLastFrame), beneath(kWidth * kHeight, kBeneath);
    oscilane::restoreSpans(pixels.data(), beneath.data(), kWidth, last, now);
    std::vector<std::string> columns(kWidth, std::string(kHeight, '.'));
    for (int x = 0; x < kWidth; ++x)
        for (int y = 0; y < kHeight; ++y)
            if (pixels[static_cast<std::size_t>(y * kWidth + x)] == kBeneath)
                columns[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = 'r';
    return columns;
}

// 'r' on each of the row ranges given, '.' elsewhere.
std::string rows(std::initializer_list<std::pair<int, int>> ranges) {
    std::string s(kHeight, '.');
    for (const auto& [from, to] : ranges)
        for (int y = from; y <= to; ++y) s[static_cast<std::size_t>(y)] = 'r';
    return s;
}

}  // namespace

TEST(TraceSpans, OnlyWhatTheSameTraceDoesNotSetAgainIsRestored) {
    struct Case {
        const char* name;
        ColumnSpan last;
        std::vector<ColumnSpan> now;  // empty: the trace is not drawn at all
        std::string restored;         // in the last span's column
    };
    const Case cases[] = {
        {"the new span inside the old", {2, 2, 10}, {{2, 5, 7}}, rows({{2, 4}, {8, 10}})},
        {"the new span covers the old", {1, 4, 8}, {{1, 0, 20}}, rows({})},
        {"the new span below the old", {3, 2, 6}, {{3, 5, 12}}, rows({{2, 4}})},
        {"the new span above the old", {3, 8, 12}, {{3, 0, 9}}, rows({{10, 12}})},
        {"no new span in that column", {4, 3, 9}, {{3, 0, 20}, {5, 0, 20}}, rows({{3, 9}})},
        {"the trace is gone", {0, 1, 3}, {}, rows({{1, 3}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TraceSpans now = trace(c.now);
        const auto columns = restoredColumns(trace({c.last}), c.now.empty() ? nullptr : &now);
        EXPECT_EQ(columns[static_cast<std::size_t>(c.last.x)], c.restored);
        for (int x = 0; x < kWidth; ++x)
            if (x != c.last.x) {
                EXPECT_EQ(columns[static_cast<std::size_t>(x)], rows({}));
            }
    }
}

TEST(TraceSpans, ARunThatStartsAgainOnTheLeftStillFindsItsColumns) {
    // Two runs of the last frame, the second back at the left (a blanked
    // stretch, or dots in no order); the new frame sets column 1 whole.
    const TraceSpans last = trace({{1, 0, 5}, {4, 0, 5}, {1, 10, 15}});
    const TraceSpans now = trace({{1, 0, kHeight - 1}, {4, 20, 22}});
    const auto columns = restoredColumns(last, &now);
    EXPECT_EQ(columns[1], std::string(kHeight, '.'));
    EXPECT_EQ(columns[4], rows({{0, 5}}));
}

// An unchanged trace is neither restored nor repainted, so "the same" must
// mean the same pixels in the same colour, and nothing looser.
TEST(TraceSpans, TheSameTraceIsTheSamePixelsInTheSameColour) {
    const TraceSpans base = trace({{1, 2, 5}, {2, 5, 9}});
    TraceSpans otherColour = base;
    otherColour.colour = 0xFF00FFFF;
    TraceSpans coversOnly = base;
    coversOnly.covers.push_back({0, 0, 3, 3});
    struct Case {
        const char* name;
        TraceSpans a, b;
        bool same;
    };
    const Case cases[] = {
        {"the same spans", base, base, true},
        {"covers aside", base, coversOnly, true},
        {"both empty", trace({}), trace({}), true},
        {"another colour", base, otherColour, false},
        {"one row more", base, trace({{1, 2, 5}, {2, 5, 10}}), false},
        {"a span fewer", base, trace({{1, 2, 5}}), false},
        {"empty against drawn", trace({}), base, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a.sameAs(c.b), c.same);
        EXPECT_EQ(c.b.sameAs(c.a), c.same);
    }
}
