// The trace rasterizer against Qt's own cosmetic polyline through the same
// points: at three grid sizes, with flat, sloping and steep segments, with
// points past the clip, and the painters it must leave to Qt.
#include "display/trace_raster.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace oscilane;

namespace {

const QColor kTraceColour(240, 240, 0);

QImage blank(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Qt's polyline through the same points, or each segment as a line of its
// own.  A repeated point adds nothing to the line, but Qt's stroker draws a
// stray pixel or leaves out the last one at a segment of no length, so the
// reference is drawn without repeats.
QImage byQt(QSize size, const QRect& clip, std::vector<QPoint> points, bool joined = true) {
    points.erase(std::unique(points.begin(), points.end()), points.end());
    QImage image = blank(size);
    QPainter p(&image);
    p.setClipRect(clip);
    p.setPen(QPen(kTraceColour, 0));
    const int n = static_cast<int>(points.size());
    if (joined)
        p.drawPolyline(points.data(), n);
    else
        for (int i = 1; i < n; ++i) p.drawLine(points[i - 1], points[i]);
    return image;
}

QImage byRaster(QSize size, const QRect& clip, const std::vector<QPoint>& points) {
    QImage image = blank(size);
    TraceRaster(image, clip, kTraceColour).polyline(points.data(), static_cast<int>(points.size()));
    return image;
}

bool lit(const QImage& image, int x, int y) {
    return y >= 0 && y < image.height() && image.pixel(x, y) == kTraceColour.rgb();
}

// Column by column: how far a pixel one image sets stands from the nearest
// the other sets in that column, and how many pixels one sets in a column
// the other leaves dark.
struct ColumnDifference {
    int worstDistance = 0;
    int worstLone = 0;
    int litColumns = 0;
    // Within one pixel in every column.
    bool close() const { return worstDistance <= 1 && worstLone <= 1; }
};

std::vector<int> litRows(const QImage& image, int x) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (lit(image, x, y)) rows.push_back(y);
    return rows;
}

// The distance from each of `rows` to the nearest of `other`.
int farthest(const std::vector<int>& rows, const std::vector<int>& other) {
    int worst = 0;
    for (const int y : rows) {
        int nearest = INT_MAX;
        for (const int o : other) nearest = std::min(nearest, std::abs(o - y));
        worst = std::max(worst, nearest);
    }
    return worst;
}

ColumnDifference compare(const QImage& a, const QImage& b) {
    ColumnDifference d;
    for (int x = 0; x < a.width(); ++x) {
        const std::vector<int> inA = litRows(a, x), inB = litRows(b, x);
        if (inA.empty() && inB.empty()) continue;
        ++d.litColumns;
        if (inA.empty() || inB.empty()) {
            d.worstLone = std::max(d.worstLone, static_cast<int>(inA.size() + inB.size()));
            continue;
        }
        d.worstDistance = std::max({d.worstDistance, farthest(inA, inB), farthest(inB, inA)});
    }
    return d;
}

// A scope-like trace: 1200 samples across the grid, each mapped to a row.
std::vector<QPoint> across(const QRect& grid, const std::function<double(int)>& level) {
    std::vector<QPoint> points;
    for (int i = 0; i < 1200; ++i) {
        const int x = grid.left() + static_cast<int>(i * grid.width() / 1200.0);
        const double v = std::clamp(level(i), 0.0, 1.0);
        points.emplace_back(x, grid.top() + static_cast<int>((1 - v) * grid.height()));
    }
    return points;
}

struct Shape {
    const char* name;
    std::function<double(int)> level;
};
const Shape kShapes[] = {
    {"flat", [](int) { return 0.3; }},
    {"gentle slope", [](int i) { return 0.2 + i / 3000.0; }},
    {"sine", [](int i) { return 0.5 + 0.45 * std::sin(i * 0.02); }},
    {"fast sine", [](int i) { return 0.5 + 0.5 * std::sin(i * 0.7); }},
    {"square, steep edges", [](int i) { return (i / 50) % 2 == 0 ? 0.1 : 0.9; }},
    {"noise", [](int i) { return ((i * 7919) % 997) / 997.0; }},
};
// The smallest display, the default window and a large one: zero, one and
// two columns from one sample to the next.
const QRect kGrids[] = {{50, 50, 481, 321}, {50, 50, 601, 401}, {50, 50, 1351, 901}};

}  // namespace

TEST(TraceRaster, MatchesQtsPolylineWithinAPixelPerColumn) {
    for (const QRect& grid : kGrids) {
        const QSize size(grid.right() + 120, grid.bottom() + 50);
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(testing::Message()
                         << shape.name << " on " << grid.width() << " x " << grid.height());
            const std::vector<QPoint> points = across(grid, shape.level);
            const QImage raster = byRaster(size, grid, points);
            const ColumnDifference lines = compare(byQt(size, grid, points, false), raster);
            EXPECT_TRUE(lines.close()) << lines.worstDistance << " " << lines.worstLone;
            EXPECT_GT(lines.litColumns, grid.width() * 9 / 10);
            // Where a one-column spike turns back, Qt's join carries the
            // line one pixel past the sample; the raster stops on it.
            const ColumnDifference polyline = compare(byQt(size, grid, points), raster);
            EXPECT_LE(polyline.worstDistance, 2);
            EXPECT_LE(polyline.worstLone, 1);
        }
    }
}

// A polyline's steps from one column to the next take a short way; each
// segment drawn on its own takes the general one.  They set the same pixels,
// and so does the same trace drawn from right to left.
TEST(TraceRaster, APolylineSetsThePixelsOfItsSegmentsDrawnOneByOne) {
    for (const QRect& grid : kGrids) {
        const QSize size(grid.right() + 20, grid.bottom() + 20);
        for (const Shape& shape : kShapes) {
            SCOPED_TRACE(testing::Message() << shape.name << " on " << grid.width());
            std::vector<QPoint> points = across(grid, shape.level);
            QImage bySegment = blank(size);
            for (std::size_t i = 1; i < points.size(); ++i)
                TraceRaster(bySegment, grid, kTraceColour).polyline(&points[i - 1], 2);
            EXPECT_EQ(byRaster(size, grid, points), bySegment);
            std::reverse(points.begin(), points.end());
            EXPECT_EQ(byRaster(size, grid, points), bySegment);
        }
    }
}

TEST(TraceRaster, SingleSegmentsOfEverySlopeMatchQt) {
    const QSize size(120, 120);
    const QRect clip(0, 0, 120, 120);
    const QPoint from(60, 60);
    // Every direction, the diagonals and the axes among them.
    for (int dx = -40; dx <= 40; dx += 5)
        for (int dy = -40; dy <= 40; dy += 5) {
            SCOPED_TRACE(testing::Message() << "to " << dx << ", " << dy);
            const std::vector<QPoint> points{from, from + QPoint(dx, dy)};
            const ColumnDifference d =
                compare(byQt(size, clip, points), byRaster(size, clip, points));
            EXPECT_TRUE(d.close()) << d.worstDistance << " " << d.worstLone;
            // Both end points are set.
            const QImage raster = byRaster(size, clip, points);
            EXPECT_TRUE(lit(raster, from.x(), from.y()));
            EXPECT_TRUE(lit(raster, from.x() + dx, from.y() + dy));
        }
}

TEST(TraceRaster, LinesPastTheClipAreCutAtItsEdges) {
    const QSize size(300, 200);
    const QRect clip(50, 40, 201, 121);  // edges 50..250, 40..160
    struct Case {
        const char* name;
        std::vector<QPoint> points;
    };
    const Case cases[] = {
        {"through from left to right", {{-500, 100}, {800, 90}}},
        {"steep through top and bottom", {{140, -300}, {160, 500}}},
        {"far outside the int-sized products", {{-1000000, -900000}, {1000000, 1100000}}},
        {"in and out again", {{10, 10}, {100, 100}, {290, 190}}},
        {"wholly outside", {{0, 0}, {40, 190}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage raster = byRaster(size, clip, c.points);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                if (!clip.contains(x, y)) {
                    ASSERT_FALSE(lit(raster, x, y)) << x << ", " << y;
                }
            }
        const ColumnDifference d = compare(byQt(size, clip, c.points), raster);
        EXPECT_TRUE(d.close()) << d.worstDistance << " " << d.worstLone;
    }
}

TEST(TracePen, LeavesPaintersItCannotServeToQt) {
    const QRect grid(10, 10, 201, 101);
    const std::vector<QPoint> points =
        across(grid, [](int i) { return 0.5 + 0.4 * std::sin(i * 0.05); });
    const int n = static_cast<int>(points.size());
    struct Case {
        const char* name;
        std::function<void(QPainter&)> set;
    };
    const Case cases[] = {
        {"clipped", [](QPainter& p) { p.setClipRect(QRect(0, 0, 150, 140)); }},
        {"scaled", [](QPainter& p) { p.scale(2, 1.5); }},
        {"antialiased", [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage byPen = blank({480, 280});
        QImage qt = blank({480, 280});
        {
            QPainter p(&byPen);
            c.set(p);
            TracePen(p, grid, kTraceColour).polyline(points.data(), n);
        }
        {
            QPainter p(&qt);
            c.set(p);
            p.setClipRect(grid, Qt::IntersectClip);
            p.setPen(QPen(kTraceColour, 0));
            p.drawPolyline(points.data(), n);
        }
        EXPECT_EQ(byPen, qt);
    }
}

TEST(TracePen, ASinglePointIsNoLineButIsADot) {
    const QPoint point(20, 20);
    QImage image = blank({40, 40});
    QPainter p(&image);
    TracePen pen(p, QRect(0, 0, 40, 40), kTraceColour);
    pen.polyline(&point, 1);
    EXPECT_FALSE(lit(image, 20, 20));
    pen.points(&point, 1);
    EXPECT_TRUE(lit(image, 20, 20));
}
