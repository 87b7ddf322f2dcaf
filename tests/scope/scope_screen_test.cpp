// The scope display: grid geometry, trace pixels where the formulas put
// them, what is drawn in each format and while disconnected, and the
// commands that dropping each marker posts.
#include "scope/scope_screen.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "block_builder.h"
#include "fake_link.h"
#include "shell/palette.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
namespace L = zelvo::layout;

TEST(GridGeometry, BestFitKeepsThreeToTwoFromTheTopLeft) {
    const Margins scope{50, 50, 120, 50};
    struct Case {
        int width, height;
        GridRect grid;
    };
    const Case cases[] = {
        {770, 500, {50, 50, 650, 450}},     // exactly 3:2
        {770, 900, {50, 50, 650, 450}},     // tall: full width, 2/3 of it high
        {1600, 500, {50, 50, 650, 450}},    // wide: full height, 1.5 times as wide
        {1600, 1000, {50, 50, 1400, 950}},  // 1.5 * 900 = 1350 wide
        {650, 450, {50, 50, 530, 370}},     // the view's smallest display
        {171, 101, {50, 50, 51, 50}},       // one pixel across: nothing to draw
        {100, 80, {50, 50, -20, 4}},        // too small for the margins
    };
    for (const Case& c : cases) {
        const GridRect g = bestFitGrid(c.width, c.height, scope, GridRect{});
        EXPECT_EQ(g, c.grid) << c.width << "x" << c.height;
    }
    EXPECT_TRUE(bestFitGrid(100, 80, scope, {}).empty());
    EXPECT_TRUE(bestFitGrid(171, 101, scope, {}).empty());
}

namespace {

// A 770 x 500 display: grid (50, 50)-(650, 450), 600 x 400 pixels.
struct Screen {
    FakeLink link;
    ScopeScreen screen{link.data, link, link};

    Screen() {
        screen.resize(770, 500);
        screen.setMargins(50, 50, 120, 50);
        screen.setBestFit(true);
    }
    void setBlock(const BlockBuilder& b) { link.data.displayedBlock = b.block; }
    QImage picture() {
        QImage image(screen.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        screen.render(painter, image.rect());
        return image;
    }
    void show() {
        screen.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(&screen, Qt::LeftButton, {}, from);
        QTest::mouseMove(&screen, to);
        QTest::mouseRelease(&screen, Qt::LeftButton, {}, to);
    }
};

// Live channel at 1 V/div, lever 0: code c is drawn at y = 50 + (255 - c) * 400 / 255.
BlockBuilder fourFlatTraces() {
    BlockBuilder b;
    const int codes[4] = {51, 204, 153, 102};
    for (int w = 0; w < 4; ++w) {
        b.shownChannel(w, 10, 100000, 0).trace(w, 250, 0, 1200, true).allSamples(w, codes[w]);
    }
    return b;
}
int yOfCode(int code) { return static_cast<int>(50 + (255 - code) * 400.0 / 255); }

// Pixels of a colour inside the grid (markers, lamp and labels stand outside it).
int countInGrid(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 51; y < 450; ++y)
        for (int x = 51; x < 650; ++x) n += image.pixelColor(x, y) == colour;
    return n;
}
int countAll(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

// A vector CH1 trace at 1 V/div of count points step thousandths apart, every
// code the same, then shaped by the case.
QImage ch1Picture(int step, int count, int code, void (*shape)(BlockBuilder&)) {
    Screen s;
    BlockBuilder b;
    b.shownChannel(0, 10, 100000, 0).trace(0, step, 0, count, true).allSamples(0, code);
    shape(b);
    s.setBlock(b);
    return s.picture();
}

}  // namespace

TEST(ScopeScreen, EachTraceLandsWhereItsCodeSays) {
    Screen s;
    s.setBlock(fourFlatTraces());
    const QImage image = s.picture();
    const int codes[4] = {51, 204, 153, 102};
    for (int w = 0; w < 4; ++w) {
        SCOPED_TRACE(w);
        // Sample 510 at x = 50 + 510 * 0.25 * 600 / 300.
        EXPECT_EQ(image.pixelColor(305, yOfCode(codes[w])), colour::ofWaveform(w));
        EXPECT_NE(image.pixelColor(305, yOfCode(codes[w]) + 3), colour::ofWaveform(w));
    }
    EXPECT_EQ(image.pixelColor(50, 300), colour::kGraticuleFrame);
    EXPECT_EQ(image.pixelColor(10, 10), colour::kConnected);
}

TEST(ScopeScreen, HorizontalStepAndOriginPlaceThePoints) {
    Screen s;
    BlockBuilder b;
    // Half the grid: 600 points, 500 thousandths apart, from 30 units in (x = 110).
    b.shownChannel(0, 10, 100000, 0).trace(0, 250, 30000, 600, false).allSamples(0, 51);
    s.setBlock(b);
    const QImage image = s.picture();
    const int y = yOfCode(51);
    EXPECT_EQ(image.pixelColor(110 + 1, y), colour::kCh1);    // point 1: 110.5
    EXPECT_EQ(image.pixelColor(110 + 299, y), colour::kCh1);  // point 599
    EXPECT_NE(image.pixelColor(110 + 301, y), colour::kCh1);  // no point 600
    EXPECT_NE(image.pixelColor(108, y), colour::kCh1);
}

TEST(ScopeScreen, StoppedTraceKeepsItsCapturedScale) {
    Screen s;
    BlockBuilder b;
    // Captured at 2 V/div with lever 0; the knob now shows 1 V/div; stopped.
    b.shownChannel(0, 10, 100000, 0).trace(0, 250, 0, 1200, true).allSamples(0, 204);
    b.u32(L::secondChannelRecord(0) + L::channel::kVoltsValue, 200000).u16(L::kRunStop, 1);
    s.setBlock(b);
    // v = (204 - 255) * 2 + 255 = 153.
    EXPECT_EQ(s.picture().pixelColor(305, yOfCode(153)), colour::kCh1);
}

TEST(ScopeScreen, NothingIsDrawnForAnEmptyBlankedOrInvalidTrace) {
    struct Case {
        const char* name;
        void (*shape)(BlockBuilder&);
    };
    const Case cases[] = {
        {"count 0", [](BlockBuilder& b) { b.trace(0, 250, 0, 0, true); }},
        {"blanked whole record",
         [](BlockBuilder& b) {
             b.channel(0, L::channel::kBlankMode, 1).channel(0, L::channel::kBlankEnd, 1199);
         }},
        {"blanked codes", [](BlockBuilder& b) { b.allSamples(0, 32767); }},
        {"codes off the scale", [](BlockBuilder& b) { b.allSamples(0, -4); }},
        {"channel off", [](BlockBuilder& b) { b.channel(0, L::channel::kShown, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(countInGrid(ch1Picture(250, 1200, 128, c.shape), colour::kCh1), 0);
    }
}

TEST(ScopeScreen, BeforeTheFirstUploadAZeroScaleDrawsTheCodesUnscaled) {
    Screen s;
    BlockBuilder b;
    b.channel(0, L::channel::kShown, 1).channel(0, L::channel::kVoltsIndex, 10);
    b.trace(0, 250, 0, 1200, true).allSamples(0, 51);
    s.setBlock(b);
    EXPECT_EQ(s.picture().pixelColor(305, yOfCode(51)), colour::kCh1);
}

TEST(ScopeScreen, DisconnectedShowsOnlyGraticuleAndTheRedLamp) {
    Screen s;
    s.setBlock(fourFlatTraces());
    s.link.isConnected = false;
    s.link.removed = true;
    std::array<MeasurementText, kMeasurementSlots> texts{};
    texts[0] = {true, kCh2, QStringLiteral("Vpp=1.00V")};
    s.screen.setMeasurementTexts(texts);
    const QImage image = s.picture();
    EXPECT_EQ(countAll(image, colour::kCh1), 0);  // no trace, marker or label
    EXPECT_EQ(countAll(image, colour::kRef), 0);
    EXPECT_EQ(countInGrid(image, colour::kMath), 0);
    EXPECT_EQ(image.pixelColor(10, 10), colour::kDisconnected);
    s.link.removed = false;
    EXPECT_GT(countAll(image, colour::kRemovalNotice),
              countAll(s.picture(), colour::kRemovalNotice));
    // The measurement text stands for data no longer shown: it goes with the link.
    EXPECT_EQ(countInGrid(image, colour::kCh2), 0);
    for (int m = 0; m < kMarkerCount; ++m) EXPECT_FALSE(s.screen.markerShown(m)) << m;
    s.link.isConnected = true;
    EXPECT_GT(countInGrid(s.picture(), colour::kCh2), 0);
}

TEST(ScopeScreen, FormatsDecideWhichMarkersTakePart) {
    struct Case {
        int format, mode, source;
        std::array<bool, kMarkerCount> shown;
    };
    const Case cases[] = {
        {0, 0, 0, {1, 1, 1, 1, 1, 0, 0, 1, 0}},
        {0, 0, 1, {1, 1, 1, 1, 0, 1, 0, 1, 0}},
        {0, 1, 2, {1, 1, 1, 1, 0, 0, 1, 1, 0}},
        {0, 2, 2, {1, 1, 1, 1, 1, 1, 0, 1, 0}},  // ALT: both trigger levels
        {1, 0, 0, {0, 1, 1, 1, 0, 0, 0, 0, 1}},  // X-Y: the X-Y marker, no CH1 level
        {2, 2, 0, {1, 1, 1, 1, 0, 0, 0, 0, 0}},  // Roll: level markers only
    };
    for (const Case& c : cases) {
        Screen s;
        BlockBuilder b = fourFlatTraces();
        b.u16(L::kDisplayFormat, c.format).u16(L::kTriggerMode, c.mode);
        b.u16(L::kMainTrigger + L::trigger::kSource, c.source);
        s.setBlock(b);
        for (int m = 0; m < kMarkerCount; ++m)
            EXPECT_EQ(s.screen.markerShown(m), c.shown[static_cast<std::size_t>(m)])
                << "format " << c.format << " mode " << c.mode << " marker " << m;
    }
}

TEST(ScopeScreen, MarkerPlacesFollowTheirSettings) {
    const GridRect g{50, 50, 650, 450};
    EXPECT_EQ(levelMarkerPlace(g, 99).point, QPoint(30, 248));
    struct Trigger {
        int level;
        QPoint point;
        Pointing pointing;
    };
    for (const Trigger& t :
         {Trigger{0, {665, 50}, Pointing::Up}, Trigger{-3, {665, 50}, Pointing::Up},
          Trigger{199, {665, 450}, Pointing::Down}, Trigger{250, {665, 450}, Pointing::Down},
          Trigger{100, {670, 251}, Pointing::Left}}) {
        EXPECT_EQ(triggerMarkerPlace(g, t.level).point, t.point) << t.level;
        EXPECT_EQ(triggerMarkerPlace(g, t.level).pointing, t.pointing) << t.level;
    }
    EXPECT_EQ(extTriggerMarkerPlace(g, 0).pointing, Pointing::Left);
    struct Horizontal {
        int position;
        QPoint point;
        Pointing pointing;
    };
    for (const Horizontal& h :
         {Horizontal{0, {50, 35}, Pointing::Left}, Horizontal{299, {650, 35}, Pointing::Right},
          Horizontal{300, {650, 35}, Pointing::Right}, Horizontal{150, {350, 35}, Pointing::Down},
          Horizontal{75, {200, 35}, Pointing::Down}}) {
        EXPECT_EQ(horizontalMarkerPlace(g, h.position).point, h.point) << h.position;
        EXPECT_EQ(horizontalMarkerPlace(g, h.position).pointing, h.pointing) << h.position;
    }
    EXPECT_EQ(xyMarkerPlace(g, 99).point, QPoint(350, 35));
}

TEST(ScopeScreen, DroppingEachMarkerPostsItsSetting) {
    struct Case {
        const char* name;
        int format, mode, source;
        QPoint from, to;
        int kind;
        int32_t argument;
    };
    // Levers 99 (y 248), trigger levels 0 (up at 665, 50), horizontal position 150 (x 350).
    const Case cases[] = {
        {"CH1 level", 0, 0, 0, {35, 248}, {35, 150}, 120, 49},
        {"CH2 level", 0, 0, 0, {35, 248}, {35, 900}, 121, 199},
        {"CH1 trigger", 0, 0, 0, {660, 55}, {660, 450}, 124, 199},
        {"CH2 trigger in ALT", 0, 2, 0, {660, 55}, {660, 250}, 124, 99},
        {"EXT trigger", 0, 0, 2, {660, 248}, {660, 50}, 126, 0},
        {"horizontal position", 0, 0, 0, {350, 40}, {500, 40}, 61, 225},
        {"horizontal to the left end", 0, 0, 0, {350, 40}, {0, 40}, 61, 0},
        {"X-Y marker", 1, 0, 0, {350, 40}, {450, 40}, 120, 49},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen s;
        BlockBuilder b = fourFlatTraces();
        for (int w = 0; w < 4; ++w) b.channel(w, L::channel::kPosition, 99);
        // Only one level marker at a time under the mouse: CH2 alone for its case.
        if (std::string(c.name) == "CH2 level") b.channel(0, L::channel::kShown, 0);
        b.u16(L::kDisplayFormat, c.format).u16(L::kTriggerMode, c.mode);
        b.u16(L::kMainTrigger + L::trigger::kSource, c.source).u16(L::kHorizontalTrigger, 150);
        if (c.source == 2) b.channel(0, L::channel::kTriggerLevel, 99);
        s.setBlock(b);
        s.show();
        s.screen.updateMarkers();
        s.drag(c.from, c.to);
        ASSERT_EQ(s.link.posted.size(), 1u);
        EXPECT_EQ(s.link.last(), std::make_pair(c.kind, c.argument));
    }
}

TEST(ScopeScreen, ADroppedMarkerStaysUntilTheInstrumentReportsANewSetting) {
    Screen s;
    BlockBuilder b = fourFlatTraces();
    b.channel(0, L::channel::kPosition, 99).channel(1, L::channel::kShown, 0);
    s.setBlock(b);
    s.show();
    s.screen.updateMarkers();
    s.drag({35, 248}, {35, 150});
    s.screen.updateMarkers();
    EXPECT_EQ(s.screen.markerPlace(kCh1LevelMarker).point.y(), 150);
    b.channel(0, L::channel::kPosition, 49);  // the instrument took the command
    s.setBlock(b);
    s.screen.updateMarkers();
    EXPECT_EQ(s.screen.markerPlace(kCh1LevelMarker).point.y(), 148);
    // The trace follows its marker: a lever of 49 puts code 51 lower by 49 * 255/199 codes.
}

TEST(ScopeScreen, APressInsideTheGridRecordsCursorPointsAndPostsNothing) {
    Screen s;
    s.setBlock(fourFlatTraces());
    s.show();
    s.drag({100, 100}, {200, 300});
    EXPECT_TRUE(s.link.posted.empty());
    EXPECT_EQ(s.screen.cursorPoint1(), QPoint(100, 100));
    EXPECT_EQ(s.screen.cursorPoint2(), QPoint(200, 300));
}

TEST(ScopeScreen, GraticuleTicksDotsAndCentreLines) {
    // Grid 600 x 400: minor step 10, short tick 3, long tick 5.
    const QColor grey(200, 200, 200);
    struct Pixel {
        QPoint at;
        bool grey, greyWithoutDots;
    };
    const Pixel pixels[] = {
        {{100, 60}, true, false},                             // dot on a division column
        {{60, 100}, true, false},                             // dot on a division row
        {{100, 65}, false, false},                            // between two dots
        {{100, 55}, true, true},                              // long tick from the top edge
        {{100, 445}, true, true},                             // and from the bottom edge
        {{60, 53}, true, true},                               // short tick
        {{60, 54}, false, false},  {{645, 100}, true, true},  // long tick in from the right edge
        {{350, 123}, true, true},                             // vertical centre line
        {{123, 250}, true, true},                             // horizontal centre line
        {{60, 247}, true, true},  // short tick on the horizontal centre line
    };
    Screen s;
    s.link.isConnected = false;
    const QImage withDots = s.picture();
    s.screen.setGridVisible(false);
    const QImage withoutDots = s.picture();
    for (const Pixel& px : pixels) {
        EXPECT_EQ(withDots.pixelColor(px.at) == grey, px.grey) << px.at.x() << "," << px.at.y();
        EXPECT_EQ(withoutDots.pixelColor(px.at) == grey, px.greyWithoutDots)
            << px.at.x() << "," << px.at.y();
    }
}

TEST(ScopeScreen, AGridThatBecomesEmptyLeavesNoPictureBehind) {
    Screen s;
    s.setBlock(fourFlatTraces());
    s.show();
    EXPECT_GT(countAll(s.screen.grab().toImage(), colour::kCh1), 0);
    s.screen.setMargins(500, 500, 500, 500);
    s.screen.setBestFit(true);
    ASSERT_TRUE(s.screen.grid().empty());
    EXPECT_EQ(countAll(s.screen.grab().toImage(), colour::kCh1), 0);
}

TEST(ScopeScreen, ADotAfterAMissingCodeIsStillSet) {
    Screen s;
    BlockBuilder b;
    // One unit (2 pixels) per point: point i at x = 50 + 2i.
    b.shownChannel(0, 10, 100000, 0).trace(0, 1000, 0, 300, false).allSamples(0, 51);
    b.sample(0, 100, 32767);
    s.setBlock(b);
    const QImage image = s.picture();
    EXPECT_NE(image.pixelColor(250, yOfCode(51)), colour::kCh1);
    EXPECT_EQ(image.pixelColor(252, yOfCode(51)), colour::kCh1);
}

TEST(ScopeScreen, AVectorTraceBreaksAtAMissingCodeAndIsNotDrawnToBlankedPoints) {
    // One unit (2 pixels) per point: point i at x = 50 + 2i.
    struct Case {
        const char* name;
        void (*shape)(BlockBuilder&);
        int firstGap, lastGap;  // columns left dark between two drawn lines
    };
    const Case cases[] = {
        // Points 99 and 101 end and start lines; nothing joins them.
        {"missing code", [](BlockBuilder& b) { b.sample(0, 100, 32767); }, 249, 251},
        // Points 100 to 110 are blanked: no line reaches them, and the line
        // after them starts from the last of them.
        {"blanked points",
         [](BlockBuilder& b) {
             b.channel(0, L::channel::kBlankMode, 2)
                 .channel(0, L::channel::kBlankStart, 100)
                 .channel(0, L::channel::kBlankEnd, 110);
         },
         249, 269},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = ch1Picture(1000, 300, 51, c.shape);
        const int y = yOfCode(51);
        EXPECT_EQ(image.pixelColor(c.firstGap - 1, y), colour::kCh1);
        for (int x = c.firstGap; x <= c.lastGap; ++x)
            EXPECT_NE(image.pixelColor(x, y), colour::kCh1) << x;
        EXPECT_EQ(image.pixelColor(c.lastGap + 1, y), colour::kCh1);
        EXPECT_EQ(image.pixelColor(c.lastGap + 3, y), colour::kCh1);
    }
}

TEST(ScopeScreen, ASettingOfMinusOnePlacesItsMarker) {
    // -1 reads as 0xFFFF, which must not pass for "not yet placed".
    Screen s;
    BlockBuilder b = fourFlatTraces();
    b.channel(0, L::channel::kTriggerLevel, -1).channel(1, L::channel::kPosition, -1);
    s.setBlock(b);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "first placement" : "after a resize");
        s.screen.updateMarkers();
        EXPECT_EQ(s.screen.markerPlace(kCh1TriggerMarker).point, QPoint(665, 50));
        EXPECT_EQ(s.screen.markerPlace(kCh1TriggerMarker).pointing, Pointing::Up);
        EXPECT_EQ(s.screen.markerPlace(kCh2LevelMarker).point, QPoint(30, 47));
        s.screen.resize(771, 500);
    }
}

TEST(ScopeScreen, AMarkerClickedWithoutMovingPostsNothing) {
    // Each of these settings would come back one lower from a click.
    struct Case {
        const char* name;
        QPoint grip;
    };
    const Case cases[] = {
        {"CH1 level at lever 99", {35, 248}},
        {"CH1 trigger at level 100", {660, 251}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen s;
        BlockBuilder b = fourFlatTraces();
        b.channel(0, L::channel::kPosition, 99).channel(1, L::channel::kShown, 0);
        b.channel(0, L::channel::kTriggerLevel, 100);
        s.setBlock(b);
        s.show();
        s.screen.updateMarkers();
        QTest::mouseClick(&s.screen, Qt::LeftButton, {}, c.grip);
        EXPECT_TRUE(s.link.posted.empty());
        s.drag(c.grip, c.grip + QPoint(0, 20));
        EXPECT_EQ(s.link.posted.size(), 1u);
    }
}

TEST(ScopeScreen, PointsFarPastTheGridLandOnTheNearEdge) {
    {
        SCOPED_TRACE("far to the right: every point on the right edge, no line across");
        Screen s;
        BlockBuilder b;
        b.shownChannel(0, 10, 100000, 0).trace(0, 4000000000u, 4000000000u, 1200, true);
        s.setBlock(b.allSamples(0, 128));
        EXPECT_EQ(countInGrid(s.picture(), colour::kCh1), 0);
    }
    {
        SCOPED_TRACE("far below: a stopped trace scaled up 4e9 times reaches the bottom edge");
        Screen s;
        BlockBuilder b;
        b.shownChannel(0, 10, 1, 0).trace(0, 1000, 0, 300, true).u16(L::kRunStop, 1);
        b.u32(L::secondChannelRecord(0) + L::channel::kVoltsValue, 4000000000u);
        for (std::size_t i = 0; i < 300; ++i) b.sample(0, i, i % 2 == 0 ? 255 : 51);
        s.setBlock(b);
        // Lines from the top edge (code 255) to the bottom edge and back.
        EXPECT_EQ(s.picture().pixelColor(53, 250), colour::kCh1);
    }
}

TEST(ScopeScreen, NoMarkerCanBeGrabbedOnAnEmptyGrid) {
    Screen s;
    s.setBlock(fourFlatTraces());
    s.show();
    s.screen.updateMarkers();
    const QPoint grip = s.screen.markerPlace(kCh1LevelMarker).point + QPoint(5, 0);
    s.screen.resize(100, 80);  // too small for the margins
    ASSERT_TRUE(s.screen.grid().empty());
    s.drag(grip, grip + QPoint(0, 20));
    EXPECT_TRUE(s.link.posted.empty());
}

TEST(ScopeScreen, TheLampIsAmberWhileTheLinkIsLostAndGreenWhenItIsBack) {
    struct Case {
        const char* name;
        bool connected, removed;
        QColor lamp;
        bool notice;
    };
    const Case cases[] = {
        {"connected", true, false, colour::kConnected, false},
        {"link lost", true, true, colour::kLinkLost, true},
        {"disconnected", false, false, colour::kDisconnected, false},
    };
    for (const Case& c : cases) {
        Screen s;
        s.setBlock(fourFlatTraces());
        s.link.isConnected = c.connected;
        s.link.removed = c.removed;
        const QImage image = s.screen.grab().toImage();
        EXPECT_EQ(image.pixelColor(10, 10), c.lamp) << c.name;
        // The notice's line, under the lamp and above the grid's markers.
        int notice = 0;
        for (int y = 19; y < 35; ++y)
            for (int x = 0; x < 200; ++x)
                notice += image.pixelColor(x, y) == colour::kRemovalNotice;
        EXPECT_EQ(notice > 0, c.notice) << c.name;
    }
}

namespace {

// Every element that stands near the bottom of the grid: four traces, the
// MATH and REF labels, CH1's level marker and trigger marker on the bottom
// edge, and measurement texts on the lowest rows.
BlockBuilder crowdedBottom() {
    BlockBuilder b = fourFlatTraces();
    b.channel(0, L::channel::kPosition, 199).captured(0, L::channel::kPosition, 199);
    b.channel(0, L::channel::kTriggerLevel, 199);
    b.channel(0, L::channel::kCoupling, 1);
    return b;
}

std::array<MeasurementText, kMeasurementSlots> allMeasurementTexts() {
    std::array<MeasurementText, kMeasurementSlots> texts{};
    for (int k = 0; k < kMeasurementSlots; ++k)
        texts[static_cast<std::size_t>(k)] = {true, static_cast<WaveChannel>(k % 3),
                                              QStringLiteral("Vpp=1.00V")};
    return texts;
}

}  // namespace

// The status line is found by what changes when only status-line settings
// change: those pixels must all lie in the band under the grid's frame and
// above the labels, within the grid's width, at every window size.
TEST(ScopeScreen, TheStatusLineKeepsToTheBandBelowTheGrid) {
    const QSize sizes[] = {{650, 450}, {770, 500}, {1200, 900}, {1600, 600}, {900, 1200}};
    for (const QSize& size : sizes) {
        Screen s;
        s.screen.resize(size);
        s.screen.setBestFit(true);
        s.screen.setMeasurementTexts(allMeasurementTexts());
        const GridRect g = s.screen.grid();
        BlockBuilder before = crowdedBottom();
        s.setBlock(before);
        const QImage a = s.picture();
        BlockBuilder after = crowdedBottom();
        after.channel(0, L::channel::kCoupling, 0).channel(1, L::channel::kCoupling, 2);
        after.u16(L::kMainTrigger + L::trigger::kSweep, 1);
        after.u16(L::kMainTrigger + L::trigger::kSlope, 1);
        s.setBlock(after);
        const QImage b = s.picture();

        int changed = 0;
        int outside = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                if (a.pixel(x, y) == b.pixel(x, y)) continue;
                ++changed;
                const bool inBand =
                    y > g.bottom && y < g.bottom + 20 && x >= g.left && x <= g.right;
                outside += !inBand;
            }
        const QString at = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        EXPECT_GT(changed, 0) << at.toStdString();
        EXPECT_EQ(outside, 0) << at.toStdString();

        // The pieces carry their channels' colours, and the labels below still stand.
        int ch1 = 0, ch2 = 0, labels = 0;
        for (int y = g.bottom + 1; y < g.bottom + 20; ++y)
            for (int x = g.left; x <= g.right; ++x) {
                ch1 += b.pixelColor(x, y) == colour::kCh1;
                ch2 += b.pixelColor(x, y) == colour::kCh2;
            }
        for (int y = g.bottom + 20; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                labels += b.pixelColor(x, y) == colour::kMath || b.pixelColor(x, y) == colour::kRef;
        EXPECT_GT(ch1, 0) << at.toStdString();
        EXPECT_GT(ch2, 0) << at.toStdString();
        EXPECT_GT(labels, 0) << at.toStdString();
    }
}

TEST(ScopeScreen, NoStatusLineWhileDisconnected) {
    Screen s;
    s.setBlock(crowdedBottom());
    s.link.isConnected = false;
    const QImage image = s.picture();
    const GridRect g = s.screen.grid();
    int lit = 0;
    for (int y = g.bottom + 1; y < g.bottom + 20; ++y)
        for (int x = g.left; x <= g.right; ++x)
            lit += image.pixelColor(x, y) != colour::kBackground;
    EXPECT_EQ(lit, 0);
}

TEST(ScopeScreen, ALostLinkSaysSoInTheStatusLine) {
    Screen s;
    s.setBlock(crowdedBottom());
    const GridRect g = s.screen.grid();
    auto amberInBand = [&g](const QImage& image) {
        int n = 0;
        for (int y = g.bottom + 1; y < g.bottom + 20; ++y)
            for (int x = g.left; x <= g.right; ++x)
                n += image.pixelColor(x, y) == colour::kLinkLost;
        return n;
    };
    EXPECT_EQ(amberInBand(s.picture()), 0);  // answering: "RUN"
    s.link.removed = true;                   // connected, the lamp amber
    const QImage lost = s.picture();
    EXPECT_EQ(lost.pixelColor(10, 10), colour::kLinkLost);
    EXPECT_GT(amberInBand(lost), 0);  // "LINK LOST" where "RUN" stood
}

TEST(ScopeScreen, AHistoryMarkStillFitsTheSmallestDisplay) {
    Screen s;
    s.screen.resize(650, 450);
    s.screen.setBestFit(true);
    s.setBlock(crowdedBottom());
    const QImage live = s.picture();
    s.screen.setStatusMark(QStringLiteral("History 256/256 23:59:59.99"));
    const QImage past = s.picture();
    const GridRect g = s.screen.grid();
    int ch1 = 0, changed = 0, outside = 0;
    for (int y = 0; y < past.height(); ++y)
        for (int x = 0; x < past.width(); ++x) {
            const bool inBand = y > g.bottom && y < g.bottom + 20 && x >= g.left && x <= g.right;
            ch1 += inBand && past.pixelColor(x, y) == colour::kCh1;
            if (past.pixel(x, y) == live.pixel(x, y)) continue;
            ++changed;
            outside += !inBand;
        }
    EXPECT_GT(ch1, 0) << "the line is drawn whole, mark and all";
    EXPECT_GT(changed, 0) << "the mark shows";
    EXPECT_EQ(outside, 0);
}
