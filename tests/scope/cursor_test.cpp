// The cursors on the scope display: dragging sets the two points, each type
// reads its texts at their offsets, the lines and the readouts are painted
// where and when they belong, the arrow keys nudge the latest point, and the
// "Cursor" dialog applies every change at once.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

#include "block_builder.h"
#include "fake_link.h"
#include "scope/cursor_dialog.h"
#include "scope/cursor_layer.h"
#include "scope/scope_screen.h"
#include "shell/palette.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

// A 770 x 500 display: grid (50, 50)-(650, 450), 600 x 400 pixels; CH1 at
// 1 V/div, 1 ms/div, a flat CH1 trace at code 204 (lever 0: -1.6 V).
struct Screen {
    FakeLink link;
    ScopeScreen screen{link.data, link, link};

    Screen() {
        screen.resize(770, 500);
        screen.setMargins(50, 50, 120, 50);
        screen.setBestFit(true);
        BlockBuilder b;
        b.u16(L::kTimeBase, kOneMsPerDivision);
        b.shownChannel(kCh1, 10, 100000, 0).trace(kCh1, 250, 0, 1200, true).allSamples(kCh1, 204);
        link.data.displayedBlock = b.block;
        screen.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&screen));
    }
    QImage picture() {
        QImage image(screen.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        screen.render(painter, image.rect());
        return image;
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&screen, Qt::LeftButton, {}, from);
        QTest::mouseMove(&screen, to);
        QTest::mouseRelease(&screen, Qt::LeftButton, {}, to);
    }
    std::vector<ReadoutLine> readouts() {
        return cursorReadoutLines(screen.grid(), ScopeSettings(link.data.displayedBlock),
                                  screen.cursorChoice(), screen.cursorPoint1(),
                                  screen.cursorPoint2());
    }
};

int pixelsNear(const QImage& image, const QColor& colour, QRect area) {
    int n = 0;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) < 40 &&
                 std::abs(c.green() - colour.green()) < 40 &&
                 std::abs(c.blue() - colour.blue()) < 40;
        }
    return n;
}

}  // namespace

TEST(Cursors, EachTypeReadsItsTextsAtItsOffsetsAfterADrag) {
    // 300 pixels across a 600-pixel grid at 1 ms/div: 300 * 12 / 599 ms; 50
    // pixels down at 1 V/div: one division.
    const QString f = QStringLiteral("166.4Hz");
    const QString t = QStringLiteral("6.01mS");
    const QString v = QStringLiteral("1.00V");
    struct Case {
        CursorType type;
        std::vector<ReadoutLine> lines;
    };
    const Case cases[] = {
        {CursorType::None, {}},
        {CursorType::Cross,
         {{0, "Frequency:"}, {20, f}, {50, "Time:"}, {70, t}, {100, "Voltage:"}, {120, v}}},
        // The trace cursor at x = 400 of a 600-pixel grid: sample 700 of 1200.
        {CursorType::Trace, {{0, "Voltage:"}, {20, "-1.60V"}}},
        {CursorType::Vertical, {{0, "Frequency:"}, {20, f}, {50, "Time:"}, {70, t}}},
        {CursorType::Horizontal, {{100, "Voltage:"}, {120, v}}},
    };
    Screen s;
    s.drag({100, 100}, {400, 150});
    EXPECT_EQ(s.screen.cursorPoint1(), QPoint(100, 100));
    EXPECT_EQ(s.screen.cursorPoint2(), QPoint(400, 150));
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        s.screen.cursorChoice().type = c.type;
        EXPECT_EQ(s.readouts(), c.lines);
    }
}

TEST(Cursors, MathFftCrossDropsTheTimeAndVerticalReadsOnlyFrequency) {
    Screen s;
    BlockBuilder b;
    b.block = s.link.data.displayedBlock;
    b.u16(L::kMathOperatorSettings, kFftOperator);
    s.link.data.displayedBlock = b.block;
    s.drag({100, 100}, {400, 150});
    s.screen.cursorChoice() = {CursorType::Cross, kMath};
    const auto cross = s.readouts();
    ASSERT_EQ(cross.size(), 4u);
    EXPECT_EQ(cross[2], (ReadoutLine{50, "Voltage:"}));
    // The math operator alone hides the time of a CH1 vertical cursor too.
    s.screen.cursorChoice() = {CursorType::Vertical, kCh1};
    EXPECT_EQ(s.readouts().size(), 2u);
}

TEST(Cursors, LinesAreDrawnAndReadoutsOnlyWhileConnected) {
    Screen s;
    s.screen.cursorChoice().type = CursorType::Vertical;
    s.drag({100, 100}, {400, 150});
    const QRect readoutArea(680, 50, 90, 100);
    QImage image = s.picture();
    // Solid at the start point, dotted at the latest one; above the trace at y = 130.
    const QRect startLine(100, 60, 1, 60);
    const QRect latestLine(400, 60, 1, 60);
    EXPECT_EQ(pixelsNear(image, colour::kCursor, startLine), 60);
    const int dotted = pixelsNear(image, colour::kCursor, latestLine);
    EXPECT_GT(dotted, 10);
    EXPECT_LT(dotted, 50);
    EXPECT_GT(pixelsNear(image, colour::kCh1, readoutArea), 10);

    s.link.isConnected = false;
    image = s.picture();
    EXPECT_EQ(pixelsNear(image, colour::kCursor, startLine), 60);
    EXPECT_EQ(pixelsNear(image, colour::kCh1, readoutArea), 0);

    s.link.isConnected = true;
    s.screen.cursorChoice().type = CursorType::None;
    image = s.picture();
    EXPECT_EQ(pixelsNear(image, colour::kCursor, startLine), 0);
    EXPECT_EQ(pixelsNear(image, colour::kCh1, readoutArea), 0);
}

TEST(Cursors, TraceMarkFollowsTheSampleAndVanishesWithItsChannel) {
    Screen s;
    s.screen.cursorChoice() = {CursorType::Trace, kCh1};
    s.drag({300, 100}, {300, 100});
    // Code 204 stands 80 pixels below the grid top: the mark's square is there.
    const QRect square(296, 126, 10, 10);
    EXPECT_GT(pixelsNear(s.picture(), colour::kCursor, square), 10);

    BlockBuilder b;
    b.block = s.link.data.displayedBlock;
    b.channel(kCh1, L::channel::kShown, 0);
    s.link.data.displayedBlock = b.block;
    EXPECT_EQ(pixelsNear(s.picture(), colour::kCursor, QRect(51, 51, 598, 398)), 0);
    EXPECT_EQ(s.readouts()[1].text, QString());
}

TEST(Cursors, ArrowKeysMoveTheLatestPointAndStayInsideTheGrid) {
    Screen s;
    s.screen.cursorChoice().type = CursorType::Cross;
    s.drag({100, 100}, {200, 200});
    s.screen.setFocus();
    QTest::keyClick(&s.screen, Qt::Key_Left);
    QTest::keyClick(&s.screen, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(s.screen.cursorPoint2(), QPoint(199, 210));
    EXPECT_EQ(s.screen.cursorPoint1(), QPoint(100, 100));
    for (int k = 0; k < 60; ++k) QTest::keyClick(&s.screen, Qt::Key_Right, Qt::ShiftModifier);
    for (int k = 0; k < 30; ++k) QTest::keyClick(&s.screen, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(s.screen.cursorPoint2(), QPoint(649, 51));

    // Without a cursor type the keys leave the points alone.
    s.screen.cursorChoice().type = CursorType::None;
    QTest::keyClick(&s.screen, Qt::Key_Left);
    EXPECT_EQ(s.screen.cursorPoint2(), QPoint(649, 51));
}

TEST(Cursors, PointsAreClampedIntoTheGridAtEveryPaint) {
    Screen s;
    s.screen.cursorChoice().type = CursorType::Cross;
    s.drag({600, 400}, {640, 440});
    // A smaller window shrinks the grid under the points.
    s.screen.resize(650, 450);  // grid (50, 50)-(530, 370)
    s.picture();
    EXPECT_EQ(s.screen.cursorPoint1(), QPoint(529, 369));
    EXPECT_EQ(s.screen.cursorPoint2(), QPoint(529, 369));
}

TEST(CursorDialog, ShowsTheChoiceAndAppliesEachChangeAtOnceEvenOnCancel) {
    CursorChoice choice{CursorType::Vertical, kCh2};
    int changes = 0;
    CursorDialog dialog(choice, [&changes] { ++changes; });
    dialog.show();
    EXPECT_EQ(dialog.channelList()->currentIndex(), kCh2);
    EXPECT_TRUE(dialog.typeButton(CursorType::Vertical)->isChecked());

    dialog.typeButton(CursorType::Trace)->click();
    EXPECT_EQ(choice.type, CursorType::Trace);
    dialog.channelList()->activated(kMath);
    EXPECT_EQ(choice.channel, kMath);
    EXPECT_GE(changes, 2);

    // Clicking the selected button again changes nothing but is harmless.
    dialog.typeButton(CursorType::Trace)->click();
    EXPECT_EQ(choice.type, CursorType::Trace);
    dialog.reject();  // "Cancel"
    EXPECT_EQ(choice.type, CursorType::Trace);
    EXPECT_EQ(choice.channel, kMath);
}
