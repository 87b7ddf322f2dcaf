// What a frame records of its drawing: every rectangle for the next frame's
// restore, and a few rectangles over them all for the repaint, which must
// hold every recorded pixel.
#include <gtest/gtest.h>

#include <vector>

#include "display/drawn_area.h"

using oscilane::DrawnArea;

namespace {

QRegion coverOf(DrawnArea& area) {
    QRegion region;
    area.addCoverTo(region);
    return region;
}

int rectCount(const QRegion& region) { return static_cast<int>(region.rectCount()); }

}  // namespace

TEST(DrawnArea, TheCoverHoldsEveryRectangleAndMergesOnlyRunsSideBySide) {
    struct Case {
        const char* name;
        std::vector<QRect> rects;
        int coverRects;  // after QRegion's own banding of the cover
        QRect bounds;
    };
    const Case cases[] = {
        {"a trace's column spans, one run",
         {{10, 5, 1, 3}, {11, 7, 1, 9}, {12, 2, 1, 4}},
         1,
         {10, 2, 3, 14}},
        {"overlapping texts", {{0, 0, 20, 10}, {15, 0, 20, 10}}, 1, {0, 0, 35, 10}},
        {"two texts apart", {{0, 0, 10, 10}, {40, 0, 10, 10}}, 2, {0, 0, 50, 10}},
        {"a gap of one column ends the run", {{0, 0, 1, 5}, {2, 0, 1, 5}}, 2, {0, 0, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrawnArea area;
        for (const QRect& r : c.rects) area.add(r);
        const QRegion cover = coverOf(area);
        for (const QRect& r : c.rects) EXPECT_TRUE(cover.contains(r));
        EXPECT_EQ(cover.boundingRect(), c.bounds);
        EXPECT_EQ(rectCount(cover), c.coverRects);
        EXPECT_EQ(area.rects().size(), c.rects.size());
    }
}

TEST(DrawnArea, CoveredRectanglesAreRestoredButCoveredByTheirCallersRectangle) {
    DrawnArea area;
    area.add({0, 0, 4, 4});
    area.cover({100, 0, 50, 50});
    area.addCovered({120, 10, 1, 20});
    area.addCovered({121, 12, 1, 20});
    const QRegion cover = coverOf(area);
    // The covered rectangles lie in their caller's and add nothing of their own.
    EXPECT_EQ(cover, QRegion(0, 0, 4, 4) + QRegion(100, 0, 50, 50));
    EXPECT_EQ(area.rects().size(), 3u);

    area.clear();
    EXPECT_TRUE(area.rects().empty());
    EXPECT_TRUE(coverOf(area).isEmpty());
}
