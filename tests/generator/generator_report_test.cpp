// The generator window's Save ("Data" or "Picture") and its printed report.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "device/command_sink.h"
#include "generator/generator_ids.h"
#include "generator/generator_screen.h"
#include "generator/generator_view.h"
#include "report_pdf.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"
#include "shell/report_commands.h"
#include "shell/window_save.h"

using namespace oscilane;

namespace {

const QDateTime kSeventhOfMarch(QDate(2009, 3, 7), QTime(14, 5, 9));

struct NoSink final : CommandSink {
    void Post(QueuedCommand) override {}
};

class GeneratorReportTest : public ::testing::Test {
  protected:
    GeneratorReportTest() {
        view_.resize(760, 580);
        view_.tick();
    }
    QString file(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
    void answerSave(SaveChoice choice, std::optional<ChosenFile> file) {
        view_.saver().askChoice = [choice](QWidget*) { return std::optional<SaveChoice>(choice); };
        view_.saver().askFile = [file](QWidget*, const SaveFileQuestion&) { return file; };
    }

    MessageRecorder messages_;
    QTemporaryDir folder_;
    DocumentTemplate type_;
    Document document_{type_};
    GeneratorWave wave_;
    NoSink sink_;
    GeneratorView view_{document_, wave_, sink_, [] { return false; }};
};

TEST_F(GeneratorReportTest, DataWritesTheCsvAndPictureWaitsForTheTimer) {
    const QString csv = file("wave.csv");
    answerSave({false, 0}, ChosenFile{csv, QStringLiteral("CSV File(*.csv)")});
    view_.commands().run(gencmd::kSave);
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("#CLOCK=1000000.000000\r\n"));

    view_.show();
    const QString picture = file("wave.bmp");
    answerSave({true, 0}, ChosenFile{picture, QStringLiteral("BMP File(*.bmp)")});
    view_.commands().run(gencmd::kSave);
    EXPECT_TRUE(view_.saver().pictureTimer().isActive());
    EXPECT_FALSE(QFile::exists(picture)) << "nothing before the timer fires";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(picture), 5000);
    EXPECT_EQ(QImage(picture).size(), view_.size());
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join("\n").toStdString();
}

TEST_F(GeneratorReportTest, ThePlotStopsAboveTheParameterList) {
    const QRect plot = view_.screen().plotArea();
    EXPECT_EQ(plot.width(), view_.screen().width());
    EXPECT_GT(plot.bottom(), view_.screen().grid().bottom);
    EXPECT_LT(plot.bottom(), view_.screen().height());
    EXPECT_EQ(view_.plotPicture().size(), plot.size());
}

TEST_F(GeneratorReportTest, ExportPdfHoldsThePlotAndTheParameters) {
    if (!reporttest::havePoppler()) GTEST_SKIP() << "poppler-utils is not installed";
    wave_.waveType = WaveType::Square;
    const QStringList parameters = GeneratorScreen::parameterLines(wave_);
    ASSERT_GE(parameters.size(), 5);
    const QString pdf = file("wave.pdf");
    view_.report().clock = [] { return kSeventhOfMarch; };
    view_.report().askPdfFile = [pdf](QWidget*) { return std::optional<QString>(pdf); };
    view_.commands().run(cmd::kExportPdf);
    ASSERT_TRUE(QFile::exists(pdf)) << messages_.texts().join("\n").toStdString();

    const QString text = reporttest::pdfText(pdf);
    QString missing;
    EXPECT_TRUE(reporttest::inOrder(
        text, {"Test Report", "Pirla - DDS", "Data = 07-03-2009", "Time = 14:05:09"}, &missing))
        << missing.toStdString();
    for (const QString& line : parameters)
        EXPECT_TRUE(text.contains(line.simplified())) << line.toStdString();
    EXPECT_GT(text.indexOf("Note:"), text.indexOf(parameters.front()));
    // The plot is drawn on its dark background in the middle of the page.
    const QImage page = reporttest::pdfPage(pdf);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(reporttest::darkShare(page, 0.3, 0.25, 0.7, 0.55), 0.7);
    EXPECT_LT(reporttest::darkShare(page, 0.3, 0.9, 0.7, 0.92), 0.1) << "the note stays paper";
}

}  // namespace
