// The scope's test report rendered to PDF and read back with poppler's
// pdftotext and pdftoppm: its texts and their order, the legend of the shown
// channels only, and trace pixels in the channel colours inside the box.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include "block_builder.h"
#include "fake_link.h"
#include "model/scope_settings.h"
#include "scope/scope_report.h"
#include "shell/command_ids.h"
#include "shell/command_map.h"
#include "shell/message_service.h"

using namespace oscilane;
namespace L = zelvo::layout;

namespace {

const QDateTime kSeventhOfMarch(QDate(2009, 3, 7), QTime(14, 5, 9));

bool havePoppler() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// CH2 only, a sine-like ramp across the middle of the box, one blanked sample.
SettingBlock ch2Block(bool alt) {
    scopetest::BlockBuilder b;
    b.u16(L::kTimeBase, 19).u16(L::kTriggerMode, alt ? 2 : 0);
    b.channel(kCh1, L::channel::kShown, 0).shownChannel(kCh2, 9, 50000, 100);
    b.channel(kCh2, L::channel::kAltTimeBase, 21).channel(kCh2, L::channel::kCoupling, 1);
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
        b.sample(kCh2, i, 60 + static_cast<int>(i % 120));
    b.sample(kCh2, 600, 32767);
    return b.block;
}

class ScopeReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!havePoppler()) GTEST_SKIP() << "poppler-utils is not installed";
    }
    QString pdf(const SettingBlock& block) {
        const QString path = dir_.filePath("report.pdf");
        QString reason;
        EXPECT_TRUE(writeScopeReportPdf(path, block, kSeventhOfMarch, &reason))
            << reason.toStdString();
        return path;
    }
    QTemporaryDir dir_;
};

TEST_F(ScopeReportTest, TextsInOrderAndOnlyTheShownChannels) {
    // pdftotext gives runs of blanks as one; the exact spacing is the model's test.
    const QString text = run("pdftotext", {"-layout", pdf(ch2Block(false)), "-"}).simplified();
    const QStringList inOrder = {"Test Report",
                                 "Pirla - DSO",
                                 "Data = 07-03-2009",
                                 "Time = 14:05:09",
                                 "CH2 :",
                                 "Sampling Rate = ",
                                 "Time/DIV = 1.000ms/div",
                                 "CH2: VOLT DIV = 500mV/div",
                                 "Input Coupling = DC",
                                 "Note:"};
    qsizetype from = 0;
    for (const QString& t : inOrder) {
        const qsizetype at = text.indexOf(t, from);
        EXPECT_GE(at, 0) << t.toStdString() << " after position " << from << " in\n"
                         << text.toStdString();
        if (at >= 0) from = at + t.size();
    }
    for (const char* absent : {"CH1 :", "MATH :", "REF :", "CH1:", "MATH:", "REF:", "Operate"})
        EXPECT_FALSE(text.contains(QString::fromLatin1(absent))) << absent;
}

TEST_F(ScopeReportTest, AltModeWithCh1OffStartsTheRateWithCh2) {
    // The heads belong to CH1's part of each line; with CH1 off both lines
    // begin with CH2's.
    const QString text = run("pdftotext", {"-raw", pdf(ch2Block(true)), "-"});
    EXPECT_TRUE(text.contains(QRegularExpression("CH2 = 200KSa/s"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("CH2 = 5.000ms/div"))) << text.toStdString();
    EXPECT_FALSE(text.contains("Sampling Rate")) << text.toStdString();
    EXPECT_FALSE(text.contains("Time/DIV")) << text.toStdString();
}

TEST_F(ScopeReportTest, TracePixelsInTheChannelColourInsideTheBox) {
    const QString prefix = dir_.filePath("page");
    run("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf(ch2Block(false)), prefix});
    const QImage page(prefix + ".png");
    ASSERT_FALSE(page.isNull());
    const int w = page.width(), h = page.height();
    const QRect box(QPoint(w * 5 / 100, h * 152 / 1000), QPoint(w * 95 / 100, h * 70 / 100));
    int green = 0, greenOutside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.green() < 180 || c.red() > 90 || c.blue() > 90) continue;
            // The legend swatch lies below the box; the lever triangle just left of it.
            if (box.adjusted(-w / 40, 0, 1, 1).contains(x, y))
                ++green;
            else if (y < h * 70 / 100)
                ++greenOutside;
        }
    EXPECT_GT(green, 200) << "the CH2 trace";
    EXPECT_EQ(greenOutside, 0) << "a blanked sample drawn outside the box";
}

// The dark runs of pixels along a line of the page, as their first positions.
QList<int> darkRuns(const QImage& page, QPoint from, QPoint step, int count) {
    QList<int> runs;
    bool inRun = false;
    for (int i = 0; i < count; ++i) {
        const QPoint at = from + step * i;
        const bool dark = qGray(page.pixel(at)) < 128;
        if (dark && !inRun) runs << i;
        inRun = dark;
    }
    return runs;
}

TEST(ScopeReportPage, TheGraticuleHasTheScreensTwelveDivisionsAcrossAndEightDown) {
    // No channel shown: nothing but the graticule inside the box.
    scopetest::BlockBuilder b;
    for (int c = kCh1; c <= kRef; ++c) b.channel(c, L::channel::kShown, 0);
    const QSize size(1754, 1240);  // A4 landscape at 150 dpi
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        drawScopeReport(painter, size, b.block, kSeventhOfMarch);
    }
    const QRect box(QPoint(static_cast<int>(size.width() * 0.05), size.height() * 152 / 1000),
                    QPoint(static_cast<int>(size.width() * 0.95), size.height() * 700 / 1000));
    // Five pixels in from an edge only the division ticks (6 long) and the
    // centre line reach; the minor ticks (4.5) stop short.
    const QList<int> across = darkRuns(page, box.topLeft() + QPoint(1, 5), {1, 0}, box.width() - 2);
    ASSERT_EQ(across.size(), 11) << "division rules across";
    for (int k = 0; k < across.size(); ++k)
        EXPECT_NEAR(across[k] + 1, (k + 1) * box.width() / 12.0, 1.5) << "division " << k + 1;
    const QList<int> down = darkRuns(page, box.topLeft() + QPoint(5, 1), {0, 1}, box.height() - 2);
    ASSERT_EQ(down.size(), 7) << "division rules down";
    for (int j = 0; j < down.size(); ++j)
        EXPECT_NEAR(down[j] + 1, (j + 1) * box.height() / 8.0, 1.5) << "division " << j + 1;
    // The vertical centre line is the sixth division's and runs the full height.
    EXPECT_EQ(darkRuns(page, {box.left() + across[5] + 1, box.top()}, {0, 1}, box.height()).size(),
              1);
}

// The widest texts the page has: ALT mode with every channel shown and the
// longest rate and time texts on both channels, MATH on FFT.
SettingBlock widestTextsBlock() {
    scopetest::BlockBuilder b;
    b.u16(L::kTriggerMode, 2).u16(L::kMathOperatorSettings, 4);
    for (int c = kCh1; c <= kRef; ++c) b.shownChannel(c, 9, 50000, 100);
    for (int c = kCh1; c <= kCh2; ++c)
        b.channel(c, L::channel::kAltTimeBase, 12).channel(c, L::channel::kCoupling, 0);
    return b.block;
}

struct Word {
    QString text;
    QRectF box;
};

// The words of a one-page PDF with their boxes, and the page's size, from
// pdftotext's bounding-box output.
QList<Word> wordsOf(const QString& pdfPath, QSizeF* page) {
    const QString html = run("pdftotext", {"-bbox", pdfPath, "-"});
    const QRegularExpression pageTag(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
    if (const QRegularExpressionMatch m = pageTag.match(html); m.hasMatch())
        *page = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    const QRegularExpression wordTag(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    for (auto it = wordTag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words << Word{m.captured(5),
                      QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))};
    }
    return words;
}

TEST_F(ScopeReportTest, PrintedPageIsLandscapeAndItsTextColumnsDoNotOverlap) {
    scopetest::FakeLink link;
    link.data.displayedBlock = widestTextsBlock();
    QWidget view;
    CommandMap commands;
    ScopeReportCommands* report = installScopeReport(&view, commands, link.data);
    report->clock = [] { return kSeventhOfMarch; };
    // What Print sends and Print Preview shows, on a printer that writes a file.
    const QString path = dir_.filePath("printed.pdf");
    QPrinter& printer = report->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    report->paint(printer);

    QSizeF page;
    const QList<Word> words = wordsOf(path, &page);
    ASSERT_GT(page.width(), page.height()) << "a landscape page";
    // The page is drawn in the printer's paint rectangle; PDF points are the
    // rectangle's unit.
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
    const double rightColumn = paint.left() + paint.width() * 0.5;
    const double innerFrame = paint.left() + paint.width() * (1 - 0.017);
    int leftWords = 0, rightWords = 0;
    for (const Word& w : words) {
        // The settings rows lie between the legend and "Note:".
        if (w.box.top() < paint.top() + paint.height() * 0.735 ||
            w.box.top() > paint.top() + paint.height() * 0.83)
            continue;
        // A point of slack for the truncation to device pixels.
        if (w.box.left() < rightColumn - 1) {
            ++leftWords;
            EXPECT_LT(w.box.right(), rightColumn)
                << w.text.toStdString() << " runs into the right column";
        } else {
            ++rightWords;
            EXPECT_LT(w.box.right(), innerFrame) << w.text.toStdString() << " runs past the frame";
        }
    }
    EXPECT_GE(leftWords, 20);   // the rate line and four volt lines
    EXPECT_GE(rightWords, 15);  // the time line, two couplings, "Operate: FFT CH1"
    const QStringList all = [&words] {
        QStringList t;
        for (const Word& w : words) t << w.text;
        return t;
    }();
    EXPECT_TRUE(all.join(' ').contains("Operate: FFT CH1")) << all.join(' ').toStdString();
}

TEST(ScopeReportCommands, ExportPdfFailureIsShownAndLeavesNothing) {
    MessageRecorder messages;
    QTemporaryDir dir;
    scopetest::FakeLink link;
    link.data.displayedBlock = ch2Block(false);
    QWidget view;
    CommandMap commands;
    ScopeReportCommands* report = installScopeReport(&view, commands, link.data);
    report->clock = [] { return kSeventhOfMarch; };
    for (int id : {cmd::kPrint, cmd::kPrintPreview, cmd::kPrintSetup, cmd::kExportPdf})
        EXPECT_TRUE(commands.handles(id)) << id;

    report->askPdfFile = [&dir](QWidget*) {
        return std::optional<QString>(dir.filePath("missing/r.pdf"));
    };
    commands.run(cmd::kExportPdf);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith("Cann't save file: "));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    report->askPdfFile = [&dir](QWidget*) { return std::optional<QString>(dir.filePath("r.pdf")); };
    commands.run(cmd::kExportPdf);
    QFile out(dir.filePath("r.pdf"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.read(5) == "%PDF-");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

}  // namespace
