// The knobs: the angle mapping, the step rules and what a turn posts.
#include "scope/knob.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "block_builder.h"
#include "fake_link.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
namespace L = zelvo::layout;

namespace {
// Points on the knob face: lower left is the start of the scale, lower right its end.
const QPoint kLowerLeft(30, 80);
const QPoint kLowerRight(57, 80);
const QPoint kTop(44, 5);

// A shown CH1 at volts index 8 under a CH1 voltage knob.
struct Ch1Knob {
    FakeLink link;
    Knob knob{KnobRole::Ch1Volts, link.data, link};

    Ch1Knob() {
        BlockBuilder b;
        b.shownChannel(0, 8, 20000, 99);
        link.data.displayedBlock = b.block;
        knob.show();
    }
};

}  // namespace

TEST(Knob, AngleMapsThreeQuartersOfATurn) {
    EXPECT_EQ(knobPercent(kLowerLeft.x(), kLowerLeft.y()), 0);
    EXPECT_EQ(knobPercent(kLowerRight.x(), kLowerRight.y()), 100);
    EXPECT_EQ(knobPercent(43.5, 0), 50);   // straight up is the middle
    EXPECT_EQ(knobPercent(0, 42.5), 16);   // left: (−25 + 37.5) * 4/3 = 16.7, truncated
    EXPECT_EQ(knobPercent(87, 42.5), 83);  // right: 83.3
}

TEST(Knob, StepRulesGiveTheTableEnds) {
    struct Case {
        int percent, volts, timeBase;
    };
    for (const Case& c : {Case{0, 12, 37}, Case{100, 4, 2}, Case{12, 12, 33}, Case{13, 11, 33},
                          Case{50, 8, 20}, Case{99, 5, 3}}) {
        EXPECT_EQ(knobVoltsIndex(c.percent, 9), c.volts) << c.percent;
        EXPECT_EQ(knobTimeBaseIndex(c.percent, 36), c.timeBase) << c.percent;
    }
}

TEST(Knob, TurningPostsChangedStepsOnly) {
    struct Case {
        const char* name;
        KnobRole role;
        int triggerMode;
        int altChannel;
        QPoint at;
        bool ch2Shown;
        std::vector<std::pair<int, int32_t>> posted;
    };
    const Case cases[] = {
        {"CH1 volts to 5 V", KnobRole::Ch1Volts, 0, 0, kLowerLeft, true, {{110, 12}}},
        {"CH2 volts to 10 mV", KnobRole::Ch2Volts, 0, 0, kLowerRight, true, {{111, 4}}},
        {"CH2 off posts nothing", KnobRole::Ch2Volts, 0, 0, kLowerRight, false, {}},
        {"unchanged volts post nothing", KnobRole::Ch1Volts, 0, 0, kTop, true, {}},
        {"time base", KnobRole::TimeBase, 0, 0, kLowerLeft, true, {{51, 37}}},
        {"unchanged time base", KnobRole::TimeBase, 0, 0, kTop, true, {}},
        {"ALT channel 1 time base", KnobRole::TimeBase, 2, 1, kLowerRight, true, {{83, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLink link;
        BlockBuilder b;
        b.shownChannel(0, 8, 20000, 99).shownChannel(1, 8, 20000, 99);
        b.channel(1, L::channel::kShown, c.ch2Shown ? 1 : 0);
        b.u16(L::kTimeBase, 20).u16(L::kTriggerMode, c.triggerMode);
        b.channel(1, L::channel::kAltTimeBase, 30);
        link.data.displayedBlock = b.block;
        Knob knob(c.role, link.data, link);
        knob.setAltChannel(c.altChannel);
        knob.show();
        QTest::mousePress(&knob, Qt::LeftButton, {}, c.at);
        // A drag within the same step posts nothing more.
        QTest::mouseMove(&knob, c.at + QPoint(1, 0));
        QTest::mouseRelease(&knob, Qt::LeftButton, {}, c.at + QPoint(1, 0));
        EXPECT_EQ(link.posted, c.posted);
    }
}

TEST(Knob, TurningBackWithinOneDragPostsTheStepAgain) {
    Ch1Knob k;
    QTest::mousePress(&k.knob, Qt::LeftButton, {}, kLowerLeft);
    QTest::mouseMove(&k.knob, kTop);
    QTest::mouseRelease(&k.knob, Qt::LeftButton, {}, kTop);
    // Back at the block's index 8: the instrument was told 12, so 8 goes out again.
    const std::vector<std::pair<int, int32_t>> expected = {{110, 12}, {110, 8}};
    EXPECT_EQ(k.link.posted, expected);
}

TEST(Knob, DragsWithShiftOrCtrlDoNotTurn) {
    struct Case {
        Qt::KeyboardModifiers modifiers;
        bool turns;
    };
    for (const Case& c : {Case{Qt::ShiftModifier, false}, Case{Qt::ControlModifier, false},
                          Case{Qt::AltModifier, true}, Case{Qt::NoModifier, true}}) {
        SCOPED_TRACE(static_cast<int>(c.modifiers));
        Ch1Knob k;
        QTest::mousePress(&k.knob, Qt::LeftButton, {}, kTop);
        QMouseEvent move(QEvent::MouseMove, QPointF(kLowerLeft),
                         k.knob.mapToGlobal(QPointF(kLowerLeft)), Qt::NoButton, Qt::LeftButton,
                         c.modifiers);
        QCoreApplication::sendEvent(&k.knob, &move);
        EXPECT_EQ(k.link.posted.size(), c.turns ? 1u : 0u);
    }
}

namespace {

void wheel(QWidget& w, int deltaY, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(44, 40);
    QWheelEvent e(at, w.mapToGlobal(at), QPoint(), QPoint(0, deltaY), Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &e);
}

}  // namespace

TEST(Knob, EachWheelNotchIsOneStepAndShiftTen) {
    struct Case {
        const char* name;
        KnobRole role;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> turns;  // angle deltas
        std::vector<std::pair<int, int32_t>> posted;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Case cases[] = {
        {"up is clockwise: smaller volts", KnobRole::Ch1Volts, {{120, none}}, {{110, 7}}},
        {"down: larger volts", KnobRole::Ch1Volts, {{-120, none}}, {{110, 9}}},
        {"notches before an upload add up",
         KnobRole::Ch1Volts,
         {{120, none}, {120, none}},
         {{110, 7}, {110, 6}}},
        {"half notches add up to one", KnobRole::Ch1Volts, {{60, none}, {60, none}}, {{110, 7}}},
        {"Shift stops at the table's end",
         KnobRole::Ch1Volts,
         {{-120, Qt::ShiftModifier}},
         {{110, 12}}},
        {"past the end posts nothing",
         KnobRole::Ch1Volts,
         {{-120, Qt::ShiftModifier}, {-120, none}},
         {{110, 12}}},
        {"time base ten steps faster", KnobRole::TimeBase, {{120, Qt::ShiftModifier}}, {{51, 10}}},
        {"hidden CH2 posts nothing", KnobRole::Ch2Volts, {{120, none}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLink link;
        BlockBuilder b;
        b.shownChannel(0, 8, 20000, 99).u16(L::kTimeBase, 20);
        link.data.displayedBlock = b.block;
        Knob knob(c.role, link.data, link);
        knob.show();
        for (const auto& [delta, modifiers] : c.turns) wheel(knob, delta, modifiers);
        EXPECT_EQ(link.posted, c.posted);
    }
}

TEST(Knob, WheelGoesOnFromTheSettingAnUploadShows) {
    Ch1Knob k;
    wheel(k.knob, 120);
    BlockBuilder b;
    b.shownChannel(0, 5, 20000, 99);
    k.link.data.displayedBlock = b.block;
    wheel(k.knob, 120);
    const std::vector<std::pair<int, int32_t>> expected = {{110, 7}, {110, 4}};
    EXPECT_EQ(k.link.posted, expected);
}
