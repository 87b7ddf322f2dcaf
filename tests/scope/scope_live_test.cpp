// A connected scope window against the simulated instrument over loopback
// UDP: traces arrive, the panel's knobs and a dragged level marker change the
// instrument, and a screenshot of the live window shows the trace colours.
#include "live_window.h"  // first: the simulator's headers precede Qt's keyword macros

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <functional>
#include <iostream>

#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "scope/knob.h"
#include "scope/scope_history.h"
#include "scope/scope_markers.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"
#include "scope/scope_window.h"
#include "shell/palette.h"

using namespace oscilane;

namespace {

// Knob face points: lower left is the start of the scale, lower right its end.
const QPoint kLowerLeft(30, 80);
const QPoint kLowerRight(57, 80);

int pixelsOf(const QImage& image, const QColor& colour, QRect area) {
    const QRgb wanted = colour.rgb();
    area &= image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == wanted;
    return n;
}
int pixelsOf(const QImage& image, const QColor& colour) {
    return pixelsOf(image, colour, image.rect());
}

void turn(QWidget* knob, QPoint at) {
    QTest::mousePress(knob, Qt::LeftButton, {}, at);
    QTest::mouseMove(knob, at + QPoint(1, 0));
    QTest::mouseRelease(knob, Qt::LeftButton, {}, at + QPoint(1, 0));
}

class ScopeLive : public LiveWindow<ScopeView> {
  protected:
    void SetUp() override { show(createScopeView, createScopeFrame, QSize(1100, 760)); }

    zelvo::sim::ScopeState scope() {
        return instrument_.inspect(
            [](zelvo::sim::Instrument& i, zelvo::sim::Responder&) { return i.scope(); });
    }
    bool instrumentBecomes(const std::function<bool(const zelvo::sim::ScopeState&)>& done) {
        return QTest::qWaitFor([&] { return done(scope()); }, kLivePatienceMs);
    }
    // Trace pixels of a waveform inside the grid, where only traces use its colour.
    int tracePixels(const QColor& colour) const {
        const GridRect g = view_->screen().grid();
        const QRect inside(QPoint(g.left + 1, g.top + 1), QPoint(g.right - 1, g.bottom - 1));
        return pixelsOf(view_->screen().grab().toImage(), colour, inside);
    }
};

TEST_F(ScopeLive, KnobsAndMarkerDragReachTheInstrumentAndTheWindowShowsItsTraces) {
    ASSERT_TRUE(connect()) << messages();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tracePixels(colour::kCh1) > 0; }, kLivePatienceMs));
    EXPECT_GT(tracePixels(colour::kCh2), 0);

    // The start of the volts scale is the largest step, the end of the time
    // scale the fastest time base.
    auto* timeKnob = view_->panel()->findChild<Knob*>(QStringLiteral("timeKnob"));
    auto* voltsKnob = view_->panel()->findChild<Knob*>(QStringLiteral("voltageKnob"));
    ASSERT_TRUE(timeKnob && voltsKnob);
    const zelvo::sim::ScopeState before = scope();
    turn(timeKnob, kLowerRight);
    EXPECT_TRUE(instrumentBecomes([&](auto& s) { return s.timeBase != before.timeBase; }));
    EXPECT_EQ(scope().timeBase, 2);
    turn(voltsKnob, kLowerLeft);
    EXPECT_TRUE(instrumentBecomes([&](auto& s) { return s.channels[0].voltsIndex == 12; }));

    // Drag the CH1 level marker 40 pixels down: the lever follows downwards.
    ScopeScreen& screen = view_->screen();
    screen.updateMarkers();
    const QPoint grip = screen.markerPlace(kCh1LevelMarker).point + QPoint(5, 0);
    QTest::mousePress(&screen, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&screen, grip + QPoint(0, 40));
    QTest::mouseRelease(&screen, Qt::LeftButton, {}, grip + QPoint(0, 40));
    EXPECT_TRUE(instrumentBecomes(
        [&](auto& s) { return s.channels[0].position > before.channels[0].position; }));

    // The window shows the instrument's new state once the next uploads land:
    // the panel's time base and the marker at the instrument's lever.
    const zelvo::sim::ScopeState after = scope();
    auto* timeList = view_->panel()->findChild<QComboBox*>(QStringLiteral("timeList"));
    ASSERT_TRUE(timeList);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return timeList->currentIndex() == TimeListPosition(after.timeBase); },
        kLivePatienceMs));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            screen.updateMarkers();
            return screen.markerPlace(kCh1LevelMarker).point ==
                   levelMarkerPlace(screen.grid(), after.channels[0].position).point;
        },
        kLivePatienceMs));

    // Kept in the test's build directory as an artifact of the run.
    const QString path = QDir::current().filePath(QStringLiteral("scope_live_connected.png"));
    ASSERT_TRUE(frame_->grab().save(path));
    const QImage shot(path);
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(pixelsOf(shot, colour::kCh1), 0);
    EXPECT_GT(pixelsOf(shot, colour::kCh2), 0);
    std::cout << "screenshot: " << path.toStdString() << "\n";
}

TEST_F(ScopeLive, StepsBackThroughItsHistoryWhileTheInstrumentGoesOnAcquiring) {
    ASSERT_TRUE(connect()) << messages();
    ScopeHistory& history = view_->history();
    ASSERT_TRUE(QTest::qWaitFor([&] { return history.blocks().size() >= 2; }, kLivePatienceMs));
    auto* timeList = view_->panel()->findChild<QComboBox*>(QStringLiteral("timeList"));
    auto* timeKnob = view_->panel()->findChild<Knob*>(QStringLiteral("timeKnob"));
    ASSERT_TRUE(timeList && timeKnob);

    QTest::keyClick(&view_->screen(), Qt::Key_PageUp);
    ASSERT_FALSE(history.live());
    const auto chosenTimeBase = [&] {
        return ScopeSettings(history.blocks().block(*history.position())).timeBase();
    };
    const int held = chosenTimeBase();
    const auto newestTimeBase = [&] {
        return ScopeSettings(history.blocks().block(history.blocks().size() - 1)).timeBase();
    };
    // The instrument changes its time base; its new blocks join the history
    // while the window goes on showing the block it holds.
    const int keptBefore = history.blocks().size();
    turn(timeKnob, kLowerRight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return newestTimeBase() != held; }, kLivePatienceMs));
    EXPECT_GT(history.blocks().size(), keptBefore);
    ASSERT_TRUE(history.position());
    EXPECT_EQ(chosenTimeBase(), held);
    EXPECT_EQ(timeList->currentIndex(), TimeListPosition(held));
    EXPECT_EQ(history.mark().rfind("History ", 0), 0u) << history.mark();

    QTest::keyClick(&view_->screen(), Qt::Key_End);
    EXPECT_TRUE(history.live());
    EXPECT_EQ(timeList->currentIndex(), TimeListPosition(newestTimeBase()));
    EXPECT_EQ(history.mark(), "");
}

}  // namespace
