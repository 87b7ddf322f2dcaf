// Saved traces over a live scope window: drawn dashed in their own colours
// at the live channel's volts/div and time base, named in a legend, at most
// four, refused with a reason when the file is not a capture, and never
// sent to the instrument.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "block_builder.h"
#include "fake_link.h"
#include "model/measure_set.h"
#include "model/overlay_trace.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_menu.h"
#include "scope/scope_overlays.h"
#include "scope/scope_screen.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/palette.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

constexpr int kCentreLever = 99;

// A CH1 data file of 1200 samples at `volts`, saved at 2 ms/div.
QByteArray flatDataFile(const char* volts) {
    QByteArray text = "#CHANNEL:CH1\r\n#CLOCK=0.002000000S\r\n#SIZE=1200\r\n#UNITS:V\r\n\r\n";
    for (int i = 0; i < 1200; ++i) text += QByteArray(volts) + "\r\n";
    return text;
}

struct Window {
    FakeLink link;
    ScopeScreen screen{link.data, link, link};
    CommandMap commands;
    MeasureSet measurements;
    ScopeOverlays* overlays = installScopeOverlays(&screen, commands, screen, measurements);
    QTemporaryDir dir;
    MessageRecorder messages;

    Window() {
        screen.resize(770, 500);
        screen.setMargins(50, 50, 120, 50);
        screen.setBestFit(true);
        // Live: CH1 at 1 V/div with 0 V near the centre line, 1 ms/div.
        BlockBuilder b;
        b.u16(L::kTimeBase, kOneMsPerDivision).shownChannel(kCh1, 10, 100000, kCentreLever);
        b.allSamples(kCh1, 32767);  // no live trace to tell apart from the overlay
        link.data.displayedBlock = b.block;
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QImage picture() {
        QImage image(screen.size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        screen.render(painter, image.rect());
        return image;
    }
    // Pixels of a colour inside the grid, in rows [top, bottom].
    int pixels(const QImage& image, const QColor& colour, int top, int bottom, int fromX = 0) {
        const GridRect g = screen.grid();
        int n = 0;
        for (int y = std::max(top, g.top + 1); y <= std::min(bottom, g.bottom - 1); ++y)
            for (int x = std::max(fromX, g.left + 1); x < g.right; ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
};

TEST(ScopeOverlays, DrawnAtTheLiveVoltsPerDivisionAndTimeBase) {
    Window w;
    ASSERT_TRUE(w.overlays->add(w.file(QStringLiteral("saved.txt"), flatDataFile("2.000000"))));
    const QImage image = w.picture();
    const GridRect g = w.screen.grid();
    const ScopeSettings live(w.link.data.displayedBlock);
    const OverlayScale scale = *LiveOverlayScale(live, kCh1);
    // 2 V at 1 V/div: two divisions above the live 0 V.
    const int y = static_cast<int>(g.bottom - (scale.zeroDivisions + 2) * g.height() / 8);
    const QColor& colour = colour::ofOverlay(0);
    const int legendBottom = g.top + 20;
    const int onLine = w.pixels(image, colour, y - 1, y + 1);
    // Saved at 2 ms/div, its first half spans the whole grid at 1 ms/div;
    // dashed, so some of the width is dark.
    EXPECT_GT(onLine, g.width() / 3);
    EXPECT_LT(onLine, g.width());
    EXPECT_EQ(
        w.pixels(image, colour, legendBottom, y - 2) + w.pixels(image, colour, y + 2, g.bottom), 0)
        << "nowhere else, and not at the file's own scale";
    EXPECT_GT(w.pixels(image, colour, g.top, legendBottom), 0) << "the legend names it";
    EXPECT_TRUE(w.link.posted.empty()) << "nothing goes to the instrument";
}

TEST(ScopeOverlays, EachHasItsOwnColourAndAtMostFourAreShown) {
    Window w;
    const char* levels[] = {"-3.000000", "-1.000000", "1.000000", "3.000000", "0.000000"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(w.commands.state(cmd::kScopeOverlay).enabled);
        EXPECT_TRUE(
            w.overlays->add(w.file(QStringLiteral("o%1.txt").arg(k), flatDataFile(levels[k]))));
    }
    EXPECT_FALSE(w.commands.state(cmd::kScopeOverlay).enabled);
    EXPECT_FALSE(w.overlays->add(w.file(QStringLiteral("fifth.txt"), flatDataFile(levels[4]))));
    ASSERT_EQ(w.messages.texts().size(), 1);
    EXPECT_EQ(w.overlays->overlays().size(), 4u);
    EXPECT_EQ(w.overlays->overlays()[3].name, QStringLiteral("o3.txt"));

    const QImage image = w.picture();
    for (int k = 0; k < 4; ++k) {
        const QColor& c = colour::ofOverlay(k);
        for (int channel = kCh1; channel <= kRef; ++channel)
            EXPECT_NE(c, colour::ofWaveform(channel)) << k;
        EXPECT_GT(w.pixels(image, c, 0, 10000), 0) << k;
    }

    ASSERT_TRUE(w.commands.state(cmd::kScopeClearOverlays).enabled);
    w.commands.run(cmd::kScopeClearOverlays);
    EXPECT_TRUE(w.overlays->overlays().empty());
    EXPECT_FALSE(w.commands.state(cmd::kScopeClearOverlays).enabled);
    EXPECT_EQ(w.pixels(w.picture(), colour::ofOverlay(0), 0, 10000), 0);
}

TEST(ScopeOverlays, TheFirstOverlayIsTheMeasureBarsOverlaySource) {
    Window w;
    w.measurements.setCurrentOverlay();
    w.measurements.add(MeasureKind::Vmax);
    w.measurements.compute(w.link.data.displayedBlock);
    EXPECT_FALSE(w.measurements.value(0)) << "nothing overlaid";
    ASSERT_TRUE(w.overlays->add(w.file(QStringLiteral("a.txt"), flatDataFile("2.000000"))));
    ASSERT_TRUE(w.overlays->add(w.file(QStringLiteral("b.txt"), flatDataFile("-1.000000"))));
    w.measurements.compute(w.link.data.displayedBlock);
    ASSERT_TRUE(w.measurements.value(0));
    EXPECT_NEAR(*w.measurements.value(0), 2.0, 0.05) << "the first overlay's trace";
    w.commands.run(cmd::kScopeClearOverlays);
    w.measurements.compute(w.link.data.displayedBlock);
    EXPECT_FALSE(w.measurements.value(0));
}

TEST(ScopeOverlays, AFileThatIsNoCaptureIsRefusedWithItsReason) {
    Window w;
    QByteArray broken = flatDataFile("1.000000");
    broken.replace(broken.indexOf("1.000000"), 8, "one volt");
    EXPECT_FALSE(w.overlays->add(w.file(QStringLiteral("broken.txt"), broken)));
    EXPECT_FALSE(w.overlays->add(w.dir.filePath(QStringLiteral("missing.txt"))));
    ASSERT_EQ(w.messages.texts().size(), 2);
    EXPECT_TRUE(
        w.messages.texts()[0].startsWith(QStringLiteral("Cann't open file: broken.txt: line 6")))
        << w.messages.texts()[0].toStdString();
    EXPECT_TRUE(w.overlays->overlays().empty());
}

TEST(ScopeOverlays, TheOpenQuestionCancelledAddsNothing) {
    Window w;
    w.overlays->askFile = [](QWidget*) { return QString(); };
    w.commands.run(cmd::kScopeOverlay);
    EXPECT_TRUE(w.overlays->overlays().empty());
    EXPECT_TRUE(w.messages.texts().isEmpty());
}

TEST(ScopeOverlays, TheFileMenuOffersThemAfterSaveHistory) {
    for (const MenuItem& menu : scopeWindowMenu()) {
        if (menu.text != QStringLiteral("&File")) continue;
        QList<int> ids;
        for (const MenuItem& item : menu.items) ids << item.command;
        const qsizetype at = ids.indexOf(cmd::kScopeSaveHistory);
        ASSERT_GE(at, 0);
        EXPECT_EQ(ids.indexOf(cmd::kScopeOverlay), at + 1);
        EXPECT_EQ(ids.indexOf(cmd::kScopeClearOverlays), at + 2);
        return;
    }
    ADD_FAILURE() << "no File menu";
}

}  // namespace
