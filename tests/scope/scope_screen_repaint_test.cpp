// The display's kept work between frames: a repaint that starts from the
// kept graticule layer and restores only what the last frame drew must look
// exactly like a fresh display's first paint, whatever changed in between;
// the window, which gets only the rectangles a frame changed, must show the
// same; and the acquisition tick repaints only when something shown changed.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QEvent>
#include <QPainter>
#include <QTest>
#include <functional>
#include <memory>

#include "block_builder.h"
#include "fake_link.h"
#include "scope/scope_screen.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;

namespace {

// Sample i of a sloping trace of waveform w, `shift` codes up.
int slopeCode(int w, std::size_t i, int shift) {
    return static_cast<int>((i * 7 + static_cast<std::size_t>(w) * 40 + shift) % 256);
}

// Four sloping vector traces, all channels shown, at `shift` codes up.
BlockBuilder tracesAt(int shift) {
    BlockBuilder b;
    for (int w = 0; w < 4; ++w) {
        b.shownChannel(w, 10, 100000, 0).trace(w, 250, 0, 1200, true);
        for (std::size_t i = 0; i < 1200; ++i) b.sample(w, i, slopeCode(w, i, shift));
    }
    return b;
}

// tracesAt(shift) with REF's trace as at `refShift`: the others move
// across one that stays.
ScopeData::Block tracesPast(int shift, int refShift) {
    BlockBuilder b = tracesAt(shift);
    for (std::size_t i = 0; i < 1200; ++i) b.sample(kRef, i, slopeCode(kRef, i, refShift));
    return b.block;
}

// tracesAt(shift) with one field of one channel set.
ScopeData::Block tracesWith(int shift, int channel, std::size_t field, int value) {
    BlockBuilder b = tracesAt(shift);
    b.channel(channel, field, value);
    return b.block;
}

struct Scope {
    FakeLink link;
    ScopeScreen screen{link.data, link, link};

    explicit Scope(QSize size = {770, 500}) {
        screen.resize(size);
        screen.setMargins(50, 50, 120, 50);
        screen.setBestFit(true);
    }
    // What the widget itself shows: its paint through the kept image.
    QImage shown() { return screen.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // What the shown widget's window holds now, from all its paints so far.
    QImage onScreen() {
        QPaintDevice* device = screen.backingStore()->paintDevice();
        if (device->devType() != QInternal::Image) return {};
        return static_cast<QImage*>(device)
            ->copy(QRect(QPoint(0, 0), screen.size()))
            .convertToFormat(QImage::Format_RGB32);
    }
    // A display that never painted before, with the same inputs.
    std::unique_ptr<Scope> freshCopy() {
        auto fresh = std::make_unique<Scope>(screen.size());
        fresh->link.data.displayedBlock = link.data.displayedBlock;
        fresh->link.isConnected = link.isConnected;
        fresh->link.removed = link.removed;
        fresh->screen.setGridVisible(screen.gridVisible());
        fresh->screen.setMeasurementTexts(measurements);
        fresh->screen.cursorChoice() = screen.cursorChoice();
        return fresh;
    }
    void setTexts(const std::array<MeasurementText, kMeasurementSlots>& t) {
        measurements = t;
        screen.setMeasurementTexts(t);
    }
    std::array<MeasurementText, kMeasurementSlots> measurements{};
};

std::array<MeasurementText, kMeasurementSlots> texts(const QString& first) {
    std::array<MeasurementText, kMeasurementSlots> t{};
    t[0] = {true, kCh1, first};
    t[3] = {true, kCh2, QStringLiteral("Freq=1.000KHz")};
    return t;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

TEST(ScopeScreenRepaint, AFrameDrawnOverTheLastLooksLikeAFreshDisplay) {
    struct Case {
        const char* name;
        std::function<void(Scope&)> change;
        // Shown cursors make every repaint start from the whole layer, so
        // only one case has them.
        bool cursors = false;
    };
    const Case cases[] = {
        {"traces move", [](Scope& d) { d.link.data.displayedBlock = tracesAt(90).block; }},
        {"a text gets shorter",
         [](Scope& d) { d.screen.setMeasurementTexts(texts(QStringLiteral("V"))); }},
        {"a channel is hidden",
         [](Scope& d) {
             d.link.data.displayedBlock = tracesWith(0, 1, zelvo::layout::channel::kShown, 0);
         }},
        {"a level marker moves",
         [](Scope& d) {
             d.link.data.displayedBlock = tracesWith(0, 0, zelvo::layout::channel::kPosition, 150);
         }},
        {"the link is closed", [](Scope& d) { d.link.isConnected = false; }},
        {"the instrument stops answering", [](Scope& d) { d.link.removed = true; }},
        {"cursors are put away", [](Scope& d) { d.screen.cursorChoice().type = CursorType::None; },
         true},
        {"the dots are turned off", [](Scope& d) { d.screen.setGridVisible(false); }},
        {"the window is resized", [](Scope& d) { d.screen.resize(900, 640); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scope d;
        d.link.data.displayedBlock = tracesAt(0).block;
        d.screen.setMeasurementTexts(texts(QStringLiteral("Vpp=5.000V")));
        if (c.cursors) d.screen.cursorChoice().type = CursorType::Cross;
        d.shown();
        d.shown();  // a second frame over the first: only its own drawing restored
        c.change(d);
        const QImage again = d.shown();

        // The same inputs on a display that never painted before.
        Scope fresh(d.screen.size());
        fresh.link.data.displayedBlock = d.link.data.displayedBlock;
        fresh.link.isConnected = d.link.isConnected;
        fresh.link.removed = d.link.removed;
        fresh.screen.setGridVisible(d.screen.gridVisible());
        fresh.screen.setMeasurementTexts(texts(QStringLiteral("Vpp=5.000V")));
        if (std::string(c.name) == "a text gets shorter")
            fresh.screen.setMeasurementTexts(texts(QStringLiteral("V")));
        fresh.screen.cursorChoice() = d.screen.cursorChoice();
        ASSERT_EQ(again.size(), fresh.shown().size());
        EXPECT_TRUE(again == fresh.shown());
    }
}

TEST(ScopeScreenRepaint, TheWindowShowsAFreshDisplayAfterEveryFrame) {
    Scope d;
    d.link.data.displayedBlock = tracesAt(0).block;
    d.setTexts(texts(QStringLiteral("Vpp=5.000V")));
    d.screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.screen));
    if (d.onScreen().isNull()) GTEST_SKIP() << "the platform keeps no image of the window";

    struct Step {
        const char* name;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"nothing yet", [] {}},
        {"traces move", [&] { d.link.data.displayedBlock = tracesAt(90).block; }},
        {"traces move back", [&] { d.link.data.displayedBlock = tracesAt(0).block; }},
        {"traces move across a REF that stays",
         [&] { d.link.data.displayedBlock = tracesPast(45, 0); }},
        {"and on across it", [&] { d.link.data.displayedBlock = tracesPast(120, 0); }},
        {"the REF that stayed moves too",
         [&] { d.link.data.displayedBlock = tracesPast(120, 30); }},
        {"the REF moves with its marker alone",
         [&] {
             d.link.data.displayedBlock = tracesPast(120, 30);
             BlockBuilder b;
             b.block = d.link.data.displayedBlock;
             b.channel(kRef, zelvo::layout::channel::kPosition, 150);
             d.link.data.displayedBlock = b.block;
         }},
        {"a text gets shorter", [&] { d.setTexts(texts(QStringLiteral("V"))); }},
        {"a text gets longer", [&] { d.setTexts(texts(QStringLiteral("Vpp=12.50V"))); }},
        {"a channel is hidden",
         [&] {
             d.link.data.displayedBlock = tracesWith(30, 1, zelvo::layout::channel::kShown, 0);
         }},
        {"a level marker and its trace move",
         [&] {
             d.link.data.displayedBlock = tracesWith(30, 0, zelvo::layout::channel::kPosition, 150);
         }},
        {"a trace leaves the grid",
         [&] {
             d.link.data.displayedBlock = tracesWith(30, 0, zelvo::layout::channel::kPosition, 250);
         }},
        {"the instrument stops answering", [&] { d.link.removed = true; }},
        {"it answers again", [&] { d.link.removed = false; }},
        {"cursors come out",
         [&] {
             d.screen.cursorChoice().type = CursorType::Cross;
             d.screen.changed();
         }},
        {"traces move under cursors", [&] { d.link.data.displayedBlock = tracesAt(5).block; }},
        {"cursors are put away",
         [&] {
             d.screen.cursorChoice().type = CursorType::None;
             d.screen.changed();
         }},
        {"traces move once more", [&] { d.link.data.displayedBlock = tracesAt(60).block; }},
        {"the link is closed", [&] { d.link.isConnected = false; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change();
        // The acquisition tick's call, and the repaints it asks for.
        d.screen.refresh();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_TRUE(d.onScreen() == d.freshCopy()->shown());
    }
}

TEST(ScopeScreenRepaint, AResizedWindowNeverShowsTheOldGraticule) {
    Scope d;
    d.shown();
    for (const QSize size : {QSize(1200, 800), QSize(700, 480), QSize(1600, 1000)}) {
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        d.screen.resize(size);
        Scope fresh(size);
        EXPECT_TRUE(d.shown() == fresh.shown());
    }
    // A palette change rebuilds the layer too, to the same picture.
    const QImage before = d.shown();
    QPalette palette = d.screen.palette();
    palette.setColor(QPalette::Window, Qt::darkBlue);
    d.screen.setPalette(palette);
    EXPECT_TRUE(d.shown() == before);
}

TEST(ScopeScreenRepaint, TheTickRepaintsOnlyWhenSomethingShownChanged) {
    Scope d;
    d.link.data.displayedBlock = tracesAt(0).block;
    d.screen.setMeasurementTexts(texts(QStringLiteral("Vpp=5.000V")));
    d.screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.screen));
    PaintCounter counter;
    d.screen.installEventFilter(&counter);
    const auto paintsAfterRefresh = [&] {
        counter.paints = 0;
        d.screen.refresh();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return counter.paints;
    };
    paintsAfterRefresh();  // whatever the first show left pending
    EXPECT_EQ(paintsAfterRefresh(), 0) << "nothing changed";

    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"a new sample", [&] { d.link.data.displayedBlock = tracesAt(1).block; }},
        {"a setting",
         [&] {
             d.link.data.displayedBlock = tracesWith(1, 0, zelvo::layout::channel::kPosition, 120);
         }},
        {"a measurement text",
         [&] { d.screen.setMeasurementTexts(texts(QStringLiteral("Vpp=5.001V"))); }},
        {"the cursor type", [&] { d.screen.cursorChoice().type = CursorType::Vertical; }},
        {"the cursor channel", [&] { d.screen.cursorChoice().channel = kCh2; }},
        {"the link is lost", [&] { d.link.removed = true; }},
        {"the link is closed", [&] { d.link.isConnected = false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        EXPECT_EQ(paintsAfterRefresh(), 1);
        EXPECT_EQ(paintsAfterRefresh(), 0) << "and not again";
    }
}
