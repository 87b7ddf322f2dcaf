// The scope window's Save command without a modal dialog: the questions are
// answered by the test, the Save dialog is driven while not shown, and the
// picture is cut to the screen by arithmetic checked on its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "block_builder.h"
#include "fake_link.h"
#include "model/scope_settings.h"
#include "model/waveform_file.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_menu.h"
#include "scope/scope_save.h"
#include "shell/command_ids.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/window_picture.h"

using namespace oscilane;
namespace L = zelvo::layout;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(VisiblePartOnScreen, CutsTheWindowToTheScreen) {
    const QRect screen(0, 0, 1024, 768);
    struct Case {
        QRect window;
        QRect expected;
    };
    const Case cases[] = {
        {{100, 50, 400, 300}, {100, 50, 400, 300}},    // wholly on the screen
        {{-100, 50, 400, 300}, {0, 50, 300, 300}},     // off the left: starts at column 0
        {{-20, -30, 400, 300}, {0, 0, 380, 270}},      // off the top-left corner
        {{900, 600, 400, 300}, {900, 600, 124, 168}},  // off the right and bottom
        {{-500, 50, 400, 300}, {}},                    // wholly off
        {{100, 50, 0, 300}, {}},                       // empty
    };
    for (const Case& c : cases)
        EXPECT_EQ(visiblePartOnScreen(c.window, screen), c.expected) << c.window.x();
}

// A widget whose left 100 columns are red and the rest blue.
class TwoColours : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(QRect(0, 0, 100, height()), Qt::red);
        p.fillRect(QRect(100, 0, width() - 100, height()), Qt::blue);
    }
};

TEST(GrabVisiblePart, APictureOfAWindowPartlyOffTheLeftEdge) {
    TwoColours w;
    w.resize(300, 120);
    w.show();
    const QPoint origin = w.mapToGlobal(QPoint(0, 0));
    // The screen begins 100 columns into the window.
    const QRect screen(origin.x() + 100, origin.y() - 50, 2000, 2000);
    const QRect onScreen(origin, w.size());
    const QImage picture = grabVisiblePart(&w, visiblePartOnScreen(onScreen, screen));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(200, 120));
    EXPECT_EQ(picture.pixelColor(0, 10), QColor(Qt::blue)) << "starts at the hidden part's end";
    EXPECT_TRUE(grabVisiblePart(&w, QRect()).isNull());
    const QImage whole = grabWindowOnScreen(&w);
    EXPECT_FALSE(whole.isNull());
}

TEST(SaveDialog, PictureDisablesTheChannelList) {
    SaveDialog d(scopeSaveChannels());
    EXPECT_EQ(d.windowTitle(), "Save");
    EXPECT_TRUE(d.dataButton()->isChecked());
    EXPECT_EQ(d.channelList()->count(), 4);
    EXPECT_EQ(d.channelList()->item(2)->text(), "MATH");
    EXPECT_EQ(d.channelList()->item(kSaveAllRow)->text(), "All");
    EXPECT_EQ(d.choice().channel, 0);
    d.pictureButton()->setChecked(true);
    EXPECT_FALSE(d.channelList()->isEnabled());
    EXPECT_TRUE(d.choice().picture);
    d.dataButton()->setChecked(true);
    d.channelList()->setCurrentRow(2);
    EXPECT_TRUE(d.channelList()->isEnabled());
    EXPECT_FALSE(d.choice().picture);
    EXPECT_EQ(d.choice().channel, 2);
}

TEST(SaveFileQuestions, TitlesFiltersAndSuffixes) {
    const SaveFileQuestion data = dataFileQuestion();
    EXPECT_EQ(data.title, "Save Data As...");
    EXPECT_EQ(data.filters, QStringList({"Word File(*.doc)", "Excel File(*.xls)", "BMP File(*.bmp)",
                                         "Text File(*.txt)", "CSV File(*.csv)"}));
    EXPECT_EQ(data.defaultSuffix, "doc");
    const SaveFileQuestion picture = pictureFileQuestion();
    EXPECT_EQ(picture.title, "Save Data As...");
    EXPECT_EQ(picture.filters,
              QStringList({"BMP File(*.bmp)", "JPEG File(*.jpg)", "PNG File(*.png)"}));
    EXPECT_EQ(picture.defaultSuffix, "bmp");
    // The name's extension decides; a bare name or one of no data-file type
    // follows the filter.
    EXPECT_EQ(dataFormatFor({"/x/a.doc", "CSV File(*.csv)"}), WaveformFileFormat::Data);
    EXPECT_EQ(dataFormatFor({"/x/a.csv", "Word File(*.doc)"}), WaveformFileFormat::Csv);
    EXPECT_EQ(dataFormatFor({"/x/a.bmp", "BMP File(*.bmp)"}), WaveformFileFormat::Data);
    EXPECT_EQ(dataFormatFor({"/x/a", "CSV File(*.csv)"}), WaveformFileFormat::Csv);
    EXPECT_EQ(dataFormatFor({"/x/a.dat", "CSV File(*.csv)"}), WaveformFileFormat::Csv);
}

TEST(ResolveChosenFile, ABareNameGetsTheChosenFiltersExtension) {
    const QStringList filters = dataFileQuestion().filters;
    struct Case {
        const char* path;
        const char* filter;
        const char* expectedPath;
        const char* expectedFilter;
    };
    const Case cases[] = {
        {"/x/a", "CSV File(*.csv)", "/x/a.csv", "CSV File(*.csv)"},
        {"/x/a", "Text File(*.txt)", "/x/a.txt", "Text File(*.txt)"},
        {"/x/a.csv", "Word File(*.doc)", "/x/a.csv", "CSV File(*.csv)"},
        {"/x/a.TXT", "CSV File(*.csv)", "/x/a.TXT", "Text File(*.txt)"},
        {"/x/a.dat", "Excel File(*.xls)", "/x/a.dat", "Excel File(*.xls)"},
        {"/x/v1.2/a", "BMP File(*.bmp)", "/x/v1.2/a.bmp", "BMP File(*.bmp)"},
        {"/x/a", "", "/x/a", ""},
    };
    for (const Case& c : cases) {
        const ChosenFile r = resolveChosenFile(
            {QString::fromLatin1(c.path), QString::fromLatin1(c.filter)}, filters);
        EXPECT_EQ(r.path, c.expectedPath) << c.path << " " << c.filter;
        EXPECT_EQ(r.filter, c.expectedFilter) << c.path << " " << c.filter;
    }
    EXPECT_EQ(filterSuffix("PNG File(*.png)"), "png");
    EXPECT_EQ(filterSuffix("All Files(*.*)"), "");
}

TEST(ScopeWindowMenu, FileMenuHasSaveAndExportPdf) {
    const MenuBarLayout menu = scopeWindowMenu();
    ASSERT_FALSE(menu.isEmpty());
    QList<int> ids;
    for (const MenuItem& item : menu.front().items) ids << item.command;
    EXPECT_EQ(ids.indexOf(cmd::kFileOpen), ids.indexOf(cmd::kFileNew) + 1);
    EXPECT_EQ(menu.front().items[ids.indexOf(cmd::kFileOpen)].shortcut,
              QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(ids.indexOf(cmd::kScopeSave), ids.indexOf(cmd::kFileNew) + 2);
    EXPECT_EQ(ids.indexOf(cmd::kExportPdf), ids.indexOf(cmd::kPrintSetup) + 1);
}

class ScopeSaveTest : public ::testing::Test {
  protected:
    ScopeSaveTest() {
        scopetest::BlockBuilder b;
        b.u16(L::kTimeBase, 19).shownChannel(kCh1, 10, 100000, 0).allSamples(kCh1, 128);
        b.channel(kCh2, L::channel::kShown, 0);
        link_.data.displayedBlock = b.block;
        frame_.resize(320, 200);
        saver_ = installScopeSave(&frame_, commands_, link_.data, link_);
    }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    void answer(SaveChoice choice, std::optional<ChosenFile> file) {
        saver_->askChoice = [choice](QWidget*) { return std::optional<SaveChoice>(choice); };
        saver_->askFile = [file, this](QWidget*, const SaveFileQuestion& q) {
            asked_ = q;
            return file;
        };
    }

    QTemporaryDir dir_;
    MessageRecorder messages_;
    scopetest::FakeLink link_;
    QWidget frame_;
    CommandMap commands_;
    ScopeSaver* saver_ = nullptr;
    SaveFileQuestion asked_;
};

TEST_F(ScopeSaveTest, EnabledOnlyWhileConnected) {
    EXPECT_TRUE(commands_.state(cmd::kScopeSave).enabled);
    link_.isConnected = false;
    EXPECT_FALSE(commands_.state(cmd::kScopeSave).enabled);
}

TEST_F(ScopeSaveTest, DataFilesOfTheDisplayedBlock) {
    const Waveform ch1(link_.data.displayedBlock, kCh1);
    struct Case {
        int channel;
        const char* name;
        const char* filter;
        QByteArray expected;
    };
    const Case cases[] = {
        {kCh1, "a.doc", "Word File(*.doc)", QByteArray::fromStdString(WaveformDataText(ch1))},
        {kCh1, "a.bmp", "BMP File(*.bmp)", QByteArray::fromStdString(WaveformDataText(ch1))},
        {kCh1, "b.doc", "CSV File(*.csv)", QByteArray::fromStdString(WaveformDataText(ch1))},
        {kCh2, "off.txt", "Text File(*.txt)", "CH OFF\r\n\r\n"},
        // A bare name is written under the chosen filter's extension.
        {kCh1, "c", "CSV File(*.csv)", QByteArray::fromStdString(WaveformCsvText(ch1))},
        {kCh1, "d", "Text File(*.txt)", QByteArray::fromStdString(WaveformDataText(ch1))},
    };
    const char* const written[] = {"a.doc", "a.bmp", "b.doc", "off.txt", "c.csv", "d.txt"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        answer({false, c.channel}, ChosenFile{path(c.name), QString::fromLatin1(c.filter)});
        commands_.run(cmd::kScopeSave);
        EXPECT_EQ(asked_.defaultSuffix, "doc");
        EXPECT_EQ(readAll(path(written[i])), c.expected) << c.name;
    }
    EXPECT_FALSE(QFile::exists(path("c")));
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join("\n").toStdString();
}

TEST_F(ScopeSaveTest, AllWritesTheAllChannelCsvWhateverTheName) {
    const QByteArray expected =
        QByteArray::fromStdString(AllChannelsCsvText(link_.data.displayedBlock));
    ASSERT_TRUE(expected.startsWith("time_s,CH1,CH2,MATH,REF\r\n"));
    const char* const names[] = {"all", "all2.csv", "all3.txt"};
    const char* const written[] = {"all.csv", "all2.csv", "all3.txt"};
    for (size_t i = 0; i < std::size(names); ++i) {
        answer({false, kSaveAllRow}, ChosenFile{path(names[i]), "CSV File(*.csv)"});
        commands_.run(cmd::kScopeSave);
        EXPECT_EQ(asked_.filters, QStringList{"CSV File(*.csv)"});
        EXPECT_EQ(asked_.defaultSuffix, "csv");
        EXPECT_EQ(readAll(path(written[i])), expected) << names[i];
    }
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join("\n").toStdString();

    // With every channel off there is nothing to save.
    link_.data.displayedBlock = SettingBlock{};
    answer({false, kSaveAllRow}, ChosenFile{path("none.csv"), "CSV File(*.csv)"});
    commands_.run(cmd::kScopeSave);
    EXPECT_EQ(messages_.texts(), QStringList{"No channel is on: there are no samples to save."});
    EXPECT_FALSE(QFile::exists(path("none.csv")));
}

TEST_F(ScopeSaveTest, FailuresAreShownAndLeaveNoFile) {
    answer({false, kCh1}, ChosenFile{path("missing/a.doc"), "Word File(*.doc)"});
    commands_.run(cmd::kScopeSave);
    answer({false, kCh2}, ChosenFile{path("off.csv"), "CSV File(*.csv)"});
    commands_.run(cmd::kScopeSave);
    const QStringList shown = messages_.texts();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], "Cann't save file: No such file or directory");
    EXPECT_TRUE(shown[1].startsWith("CH2 is off")) << shown[1].toStdString();
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(ScopeSaveTest, CancelledQuestionsWriteNothing) {
    saver_->askChoice = [](QWidget*) { return std::optional<SaveChoice>(); };
    bool askedForFile = false;
    saver_->askFile = [&](QWidget*, const SaveFileQuestion&) {
        askedForFile = true;
        return std::optional<ChosenFile>();
    };
    commands_.run(cmd::kScopeSave);
    EXPECT_FALSE(askedForFile);
    answer({true, 0}, std::nullopt);
    commands_.run(cmd::kScopeSave);
    EXPECT_FALSE(saver_->pictureTimer().isActive());
}

TEST_F(ScopeSaveTest, PictureIsTakenByTheOneShotTimer) {
    frame_.show();
    struct Case {
        const char* name;
        const char* filter;
        const char* start;
    };
    const Case cases[] = {
        {"w.png", "PNG File(*.png)", "\x89PNG"},
        {"w.bmp", "BMP File(*.bmp)", "BM"},
        {"w.jpg", "JPEG File(*.jpg)", "\xFF\xD8"},
        // A bare name gets the filter's extension; a picture extension wins
        // over the filter left selected.
        {"bare", "PNG File(*.png)", "\x89PNG"},
        {"named.bmp", "PNG File(*.png)", "BM"},
    };
    const char* const written[] = {"w.png", "w.bmp", "w.jpg", "bare.png", "named.bmp"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const QString file = path(written[i]);
        answer({true, 0}, ChosenFile{path(c.name), QString::fromLatin1(c.filter)});
        commands_.run(cmd::kScopeSave);
        EXPECT_EQ(asked_.defaultSuffix, "bmp");
        EXPECT_TRUE(saver_->pictureTimer().isSingleShot());
        EXPECT_EQ(saver_->pictureTimer().interval(), 1);
        EXPECT_FALSE(QFile::exists(file)) << "nothing before the timer fires";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 5000);
        EXPECT_TRUE(readAll(file).startsWith(c.start)) << c.name;
    }
    EXPECT_FALSE(QFile::exists(path("bare")));
    const QImage png(path("w.png"));
    EXPECT_EQ(png.size(), frame_.size());
    EXPECT_TRUE(messages_.texts().isEmpty());
}

}  // namespace
