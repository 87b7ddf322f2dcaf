// The recent-file list: its order and limit of four, kept in a scratch
// settings file (never the user's), shown in every File menu, and a chosen
// entry opened as its type would, or taken off the list when it is gone.
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_fixture.h"
#include "block_builder.h"
#include "model/generator_csv.h"
#include "model/scope_settings.h"
#include "model/waveform_file.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/recent_files.h"

using namespace oscilane;

namespace {

constexpr int kScopeType = 0;

class ScratchRecentFiles {
  public:
    ScratchRecentFiles()
        : list_(std::make_unique<QSettings>(dir_.filePath(QStringLiteral("settings.ini")),
                                            QSettings::IniFormat)) {
        installRecentFiles(&list_);
    }
    ~ScratchRecentFiles() { installRecentFiles(nullptr); }
    RecentFiles& list() { return list_; }
    QString settingsFile() const { return dir_.filePath(QStringLiteral("settings.ini")); }

  private:
    QTemporaryDir dir_;
    RecentFiles list_;
};

QList<QAction*> recentActions(QMenuBar* bar) {
    QList<QAction*> found;
    for (QAction* top : bar->actions()) {
        if (!top->menu()) continue;
        for (QAction* a : top->menu()->actions())
            if (recentFileSlot(a->data().toInt())) found.append(a);
    }
    return found;
}

}  // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void mostRecentFirstAndFourAtMost();
    void everyFileMenuShowsTheList();
    void aChosenEntryOpensAndAVanishedOneIsRemoved();
    void openingAndSavingACaptureAreNoted();
    void aGeneratorWaveformOpensInTheGeneratorWindow();
    void aSetupNeedsAConnectedScopeWindow();

  private:
    QTemporaryDir dir_;
};

void RecentFilesTest::mostRecentFirstAndFourAtMost() {
    ScratchRecentFiles scratch;
    RecentFiles& list = scratch.list();
    QSignalSpy changed(&list, &RecentFiles::changed);
    for (const char* name : {"/d/a.txt", "/d/b.csv", "/d/c.txt", "/d/d.csv", "/d/e.txt"})
        noteRecentFile(QString::fromLatin1(name));
    QCOMPARE(list.files(), (QStringList{"/d/e.txt", "/d/d.csv", "/d/c.txt", "/d/b.csv"}));
    // One already listed moves to the front instead of being listed twice.
    list.note(QStringLiteral("/d/c.txt"));
    QCOMPARE(list.files(), (QStringList{"/d/c.txt", "/d/e.txt", "/d/d.csv", "/d/b.csv"}));
    list.forget(QStringLiteral("/d/e.txt"));
    QCOMPARE(list.files(), (QStringList{"/d/c.txt", "/d/d.csv", "/d/b.csv"}));
    QCOMPARE(changed.count(), 7);

    // Kept between runs, under the keys of the application's settings.
    QSettings stored(scratch.settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Recent File List/File1")).toString(),
             QStringLiteral("/d/c.txt"));
    QVERIFY(!stored.contains(QStringLiteral("Recent File List/File4")));
    RecentFiles again(std::make_unique<QSettings>(scratch.settingsFile(), QSettings::IniFormat));
    QCOMPARE(again.files(), list.files());
    // A relative name is listed by its full path.
    list.note(QStringLiteral("rel.txt"));
    QVERIFY(QFileInfo(list.files().front()).isAbsolute());
}

void RecentFilesTest::everyFileMenuShowsTheList() {
    ScratchRecentFiles scratch;
    AppFixture f;
    scratch.list().note(QStringLiteral("/d/older.csv"));
    scratch.list().note(QStringLiteral("/d/newer.txt"));
    f.frame->updateCommandUi();
    const QList<QAction*> own = recentActions(f.frame->menuBar());
    QCOMPARE(own.size(), 4);
    QVERIFY(own[0]->isVisible() && own[1]->isVisible());
    QVERIFY(!own[2]->isVisible() && !own[3]->isVisible());
    QCOMPARE(own[0]->text(), QStringLiteral("&1 /d/newer.txt"));
    QCOMPARE(own[1]->text(), QStringLiteral("&2 /d/older.csv"));

    // A scope and a meter window show the same list in their File menus.
    for (int type : {0, 1}) {
        QVERIFY(f.app.newDocument(type));
        f.frame->updateCommandUi();
        const QList<QAction*> window = recentActions(f.frame->menuBar());
        QCOMPARE(window.size(), 4);
        QCOMPARE(window[0]->text(), QStringLiteral("&1 /d/newer.txt"));
        QVERIFY(window[1]->isVisible() && !window[2]->isVisible());
    }
}

void RecentFilesTest::aChosenEntryOpensAndAVanishedOneIsRemoved() {
    ScratchRecentFiles scratch;
    AppFixture f;
    const QString capture = dir_.filePath(QStringLiteral("kept.txt"));
    {
        scopetest::BlockBuilder b;
        b.shownChannel(kCh1, 10, 100000, 0).allSamples(kCh1, 100);
        const std::string text = WaveformDataText(Waveform(b.block, kCh1));
        QFile file(capture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    const QString gone = dir_.filePath(QStringLiteral("gone.txt"));
    scratch.list().note(capture);
    scratch.list().note(gone);
    const std::size_t before = f.app.documents(kScopeType).size();

    f.app.commands().run(cmd::kRecentFile1);  // gone.txt
    QCOMPARE(f.messages.texts(),
             QStringList{gone + " no longer exists: it was taken off the list of recent files."});
    QCOMPARE(scratch.list().files(), QStringList{capture});
    QCOMPARE(f.app.documents(kScopeType).size(), before);

    f.messages.clear();
    f.app.commands().run(cmd::kRecentFile1);  // kept.txt, now first
    QCOMPARE(f.app.documents(kScopeType).size(), before + 1);
    QCOMPARE(f.app.documents(kScopeType).back()->title(), QStringLiteral("kept.txt"));
    QVERIFY2(f.messages.texts().isEmpty(), qPrintable(f.messages.texts().join('\n')));
    QVERIFY(!f.app.commands().state(cmd::kRecentFile1 + 1).enabled);
}

void RecentFilesTest::openingAndSavingACaptureAreNoted() {
    ScratchRecentFiles scratch;
    AppFixture f;
    scopetest::BlockBuilder b;
    b.shownChannel(kCh1, 10, 100000, 0).allSamples(kCh1, 50);
    const QString path = dir_.filePath(QStringLiteral("noted.csv"));
    QVERIFY(SaveWaveformFile(Waveform(b.block, kCh1), WaveformFileFormat::Csv, path.toStdString())
                .ok());
    QVERIFY(f.app.openFile(path));
    QCOMPARE(scratch.list().files(), QStringList{path});
    // A file that does not open is not noted.
    QVERIFY(!f.app.openFile(dir_.filePath(QStringLiteral("none.txt"))));
    QCOMPARE(scratch.list().files(), QStringList{path});
}

void RecentFilesTest::aGeneratorWaveformOpensInTheGeneratorWindow() {
    ScratchRecentFiles scratch;
    AppFixture f;
    GeneratorWave wave;
    const QString path = dir_.filePath(QStringLiteral("wave.csv"));
    QVERIFY(SaveCsv(wave, path.toStdString()).ok());
    scratch.list().note(path);

    // With no generator window active it says where the file opens.
    QVERIFY(f.app.newDocument(kScopeType));
    f.app.commands().run(cmd::kRecentFile1);
    QCOMPARE(f.messages.texts(),
             QStringList{path + " is a generator waveform: open it from a generator window."});

    f.messages.clear();
    constexpr int kGeneratorType = 2;
    Document* generator = f.app.newDocument(kGeneratorType);
    QVERIFY(generator);
    QCOMPARE(f.frame->activeChildFrame(), generator->frames().first());
    f.app.commands().run(cmd::kRecentFile1);
    QVERIFY2(f.messages.texts().isEmpty(), qPrintable(f.messages.texts().join('\n')));
    QCOMPARE(scratch.list().files(), QStringList{path});
}

void RecentFilesTest::aSetupNeedsAConnectedScopeWindow() {
    ScratchRecentFiles scratch;
    AppFixture f;
    const QString path = dir_.filePath(QStringLiteral("bench.setup"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Oscilane setup 1\r\n");
    }
    scratch.list().note(path);
    // A scope window that is not connected sends nothing and says where it can go.
    QVERIFY(f.app.newDocument(kScopeType));
    f.app.commands().run(cmd::kRecentFile1);
    QCOMPARE(f.messages.texts(),
             QStringList{path + " is a scope setup: recall it from a connected scope window."});
}

QTEST_MAIN(RecentFilesTest)
#include "app_recent_files_test.moc"
