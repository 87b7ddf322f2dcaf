// The meter window's Save ("Data" or "Picture") and its printed report.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "device/device_link.h"
#include "meter/meter_command_ids.h"
#include "meter/meter_session.h"
#include "meter/meter_view.h"
#include "model/meter_data.h"
#include "report_pdf.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/menu_layout.h"
#include "shell/message_service.h"
#include "shell/report_commands.h"
#include "shell/window_save.h"

using namespace oscilane;

namespace {

const QDateTime kSeventhOfMarch(QDate(2009, 3, 7), QTime(14, 5, 9));

class MeterReportTest : public ::testing::Test {
  protected:
    MeterReportTest() {
        link_.adoptSession(std::unique_ptr<MeterSession>(session_));
        view_ = std::make_unique<MeterView>(document_, link_, *session_);
        view_->resize(700, 520);
        DmmInfo r{};
        r.value = 12.34f;
        r.decimalScale = 2;
        r.prefixIndex = 7;
        session_->data().Poll([r](DmmInfo* out) {
            *out = r;
            return 0;
        });
        for (int i = 0; i < 5; ++i) session_->data().Sample();
    }
    ~MeterReportTest() override { view_.reset(); }
    QString file(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
    void answerSave(SaveChoice choice, std::optional<ChosenFile> file) {
        view_->saver().askChoice = [choice](QWidget*) { return std::optional<SaveChoice>(choice); };
        view_->saver().askFile = [file](QWidget*, const SaveFileQuestion&) { return file; };
    }

    MessageRecorder messages_;
    QTemporaryDir folder_;
    DocumentTemplate type_;
    Document document_{type_};
    CDeviceLink link_;
    MeterSession* session_ = new MeterSession;
    std::unique_ptr<MeterView> view_;
};

TEST_F(MeterReportTest, DataKeepsTheTrendSaveAndPictureWaitsForTheTimer) {
    const QString asked = file("trend.txt");
    answerSave({false, 0}, ChosenFile{asked, QStringLiteral("Text File(*.txt)")});
    view_->commands().run(cmd::kMeterSave);
    EXPECT_TRUE(QFile::exists(asked)) << "Data writes the trend as before";

    view_->show();
    const QString picture = file("meter.png");
    answerSave({true, 0}, ChosenFile{picture, QStringLiteral("PNG File(*.png)")});
    view_->commands().run(cmd::kMeterSave);
    EXPECT_TRUE(view_->saver().pictureTimer().isActive());
    EXPECT_FALSE(QFile::exists(picture)) << "nothing before the timer fires";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(picture), 5000);
    EXPECT_EQ(QImage(picture).size(), view_->size());
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join("\n").toStdString();
}

TEST_F(MeterReportTest, ExportPdfHoldsTheReportAndTheDisplay) {
    if (!reporttest::havePoppler()) GTEST_SKIP() << "poppler-utils is not installed";
    const QString pdf = file("meter.pdf");
    view_->report().clock = [] { return kSeventhOfMarch; };
    view_->report().askPdfFile = [pdf](QWidget*) { return std::optional<QString>(pdf); };
    view_->commands().run(cmd::kExportPdf);
    ASSERT_TRUE(QFile::exists(pdf)) << messages_.texts().join("\n").toStdString();

    QString missing;
    EXPECT_TRUE(reporttest::inOrder(
        reporttest::pdfText(pdf),
        {"Test Report", "Pirla - DMM", "Data = 07-03-2009", "Time = 14:05:09", "Note:"}, &missing))
        << missing.toStdString();
    // The display is drawn on its dark background in the middle of the page.
    const QImage page = reporttest::pdfPage(pdf);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(reporttest::darkShare(page, 0.3, 0.25, 0.7, 0.55), 0.7);
    EXPECT_LT(reporttest::darkShare(page, 0.3, 0.9, 0.7, 0.92), 0.1) << "the note stays paper";
}

TEST_F(MeterReportTest, ExportPdfFailureIsShownAndLeavesNothing) {
    view_->report().askPdfFile = [this](QWidget*) {
        return std::optional<QString>(file("missing/meter.pdf"));
    };
    view_->commands().run(cmd::kExportPdf);
    ASSERT_EQ(messages_.texts().size(), 1);
    EXPECT_TRUE(messages_.texts().front().startsWith("Cann't save file: "));
    EXPECT_FALSE(QFile::exists(file("missing/meter.pdf")));
}

TEST(InstrumentWindowMenu, FileMenuHasTheWindowsSaveAndExportPdf) {
    const MenuBarLayout menu = instrumentWindowMenu(cmd::kMeterSave);
    ASSERT_FALSE(menu.isEmpty());
    QList<int> ids;
    for (const MenuItem& item : menu.front().items) ids << item.command;
    EXPECT_EQ(ids.indexOf(cmd::kMeterSave), ids.indexOf(cmd::kFileNew) + 1);
    EXPECT_EQ(ids.indexOf(cmd::kExportPdf), ids.indexOf(cmd::kPrintSetup) + 1);
    EXPECT_TRUE(ids.contains(cmd::kPrint));
    EXPECT_TRUE(ids.contains(cmd::kPrintPreview));
}

}  // namespace
