// Opening saved traces: File > Open Capture, the command line and the
// running instance's hand-over open each layout the scope writes in a window
// of its own, which shows, rescales and saves it without an instrument; a
// file that is not a capture opens nothing and says why in one line.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app_fixture.h"
#include "block_builder.h"
#include "launch_options.h"
#include "model/capture_file.h"
#include "model/scope_settings.h"
#include "model/waveform_file.h"
#include "scope/capture_window.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_commands.h"
#include "scope/scope_view.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/window_save.h"

using namespace oscilane;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

constexpr int kScopeType = 0;

// CH1 a ramp at 1 V/div, CH2 at 50 mV/div, 10X, lever 120, MATH off.
SettingBlock savedBlock() {
    scopetest::BlockBuilder b;
    b.u16(L::kTimeBase, kOneMsPerDivision).shownChannel(kCh1, 10, 100000, 0);
    b.shownChannel(kCh2, 6, 5000, 120).channel(kCh2, L::channel::kProbe, 1);
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i) {
        b.sample(kCh1, i, static_cast<int>(i % 256));
        b.sample(kCh2, i, i == 700 ? 32767 : static_cast<int>((i * 7) % 200));
    }
    return b.block;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const std::string& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) &&
           f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

ScopeView* viewOf(Document* document) {
    if (!document || document->frames().isEmpty()) return nullptr;
    return qobject_cast<ScopeView*>(document->frames().first()->view());
}

}  // namespace

class CaptureTest : public QObject {
    Q_OBJECT
  private slots:
    void eachLayoutOpensAndSavesTheSameBytes_data();
    void eachLayoutOpensAndSavesTheSameBytes();
    void badFilesOpenNothingAndSayWhy();
    void thePanelRescalesWithoutAnInstrument();
    void openCommandAndMenus();
    void commandLineFilesAreOpenedAndMadeAbsoluteForTheRunningInstance();

  private:
    QTemporaryDir dir_;
};

void CaptureTest::eachLayoutOpensAndSavesTheSameBytes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("saveRow");
    const SettingBlock block = savedBlock();
    const auto bytes = [](const std::string& s) { return QByteArray::fromStdString(s); };
    QTest::newRow("data CH2") << "ch2.txt" << bytes(WaveformDataText(Waveform(block, kCh2)))
                              << int{kCh2};
    QTest::newRow("csv") << "ch1.csv" << bytes(WaveformCsvText(Waveform(block, kCh1))) << int{kCh1};
    QTest::newRow("all") << "all.csv" << bytes(AllChannelsCsvText(block)) << 3;
}

void CaptureTest::eachLayoutOpensAndSavesTheSameBytes() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, saveRow);
    AppFixture f;
    const QString path = dir_.filePath(name);
    QVERIFY(writeFile(path, bytes.toStdString()));
    const std::size_t before = f.app.documents(kScopeType).size();

    QVERIFY(f.app.openFile(path));
    QCOMPARE(f.app.documents(kScopeType).size(), before + 1);
    Document* document = f.app.documents(kScopeType).back();
    QCOMPARE(document->title(), name);
    ScopeView* view = viewOf(document);
    QVERIFY(view);
    view->tick();

    // Save from the window, as another file: the same bytes come out.
    auto* saver = view->findChild<WindowSaver*>();
    QVERIFY(saver);
    const QString again = dir_.filePath(QStringLiteral("again-") + name);
    saver->askChoice = [saveRow](QWidget*) { return std::optional<SaveChoice>({false, saveRow}); };
    saver->askFile = [again](QWidget*, const SaveFileQuestion&) {
        return std::optional<ChosenFile>({again, QStringLiteral("CSV File(*.csv)")});
    };
    QVERIFY(view->commands().state(cmd::kScopeSave).enabled);
    view->commands().run(cmd::kScopeSave);
    QCOMPARE(readAll(again), bytes);
    QVERIFY2(f.messages.texts().isEmpty(), qPrintable(f.messages.texts().join('\n')));
}

void CaptureTest::badFilesOpenNothingAndSayWhy() {
    AppFixture f;
    std::string letters = WaveformDataText(Waveform(savedBlock(), kCh1));
    letters.replace(letters.find("\r\n-8.000000\r\n"), 13, "\r\n-8.0x0000\r\n");
    const std::string text = WaveformDataText(Waveform(savedBlock(), kCh1));
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"letters.txt", letters,
         "Cann't open file: letters.txt: line 6: '-8.0x0000' is not a number"},
        {"short.txt", text.substr(0, text.size() / 2),
         "Cann't open file: short.txt: line 603: the file is cut short"},
        {"picture.bmp", std::string("BM\x36\x00\x00\x00", 6),
         "Cann't open file: picture.bmp: line 1: the file holds binary data"},
    };
    const std::size_t before = f.app.documents(kScopeType).size();
    for (const Case& c : cases) {
        f.messages.clear();
        const QString path = dir_.filePath(QString::fromLatin1(c.name));
        QVERIFY(writeFile(path, c.bytes));
        QVERIFY(!f.app.openFile(path));
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY2(f.messages.texts().front().startsWith(QString::fromLatin1(c.message)),
                 qPrintable(f.messages.texts().front()));
        QVERIFY(!f.messages.texts().front().contains('\n'));
    }
    f.messages.clear();
    QVERIFY(!f.app.openFile(dir_.filePath(QStringLiteral("missing.txt"))));
    QCOMPARE(f.messages.texts(),
             QStringList{"Cann't open file: missing.txt: No such file or directory"});
    QCOMPARE(f.app.documents(kScopeType).size(), before);
}

void CaptureTest::thePanelRescalesWithoutAnInstrument() {
    AppFixture f;
    const QString path = dir_.filePath(QStringLiteral("rescale.txt"));
    QVERIFY(writeFile(path, WaveformDataText(Waveform(savedBlock(), kCh1))));
    ScopeView* view = viewOf(openCaptureFile(f.app, path));
    QVERIFY(view);
    auto* source = view->findChild<CaptureSource*>();
    QVERIFY(source);
    view->tick();
    const SettingBlock& shown = source->link().data.displayedBlock;
    QCOMPARE(ScopeSettings(shown).voltsIndex(kCh1), 10);
    QCOMPARE(ScopeSettings(shown).timeBase(), kOneMsPerDivision);

    // The panel's time/div list and volts step: the capture is drawn anew.
    auto* timeList = view->panel()->findChild<QComboBox*>(QStringLiteral("timeList"));
    QVERIFY(timeList);
    timeList->setCurrentIndex(timeList->currentIndex() + 1);
    emit timeList->activated(timeList->currentIndex());
    source->Post(scope_command::voltsStep(ScopeChannel::Ch1, true));
    view->tick();
    QCOMPARE(ScopeSettings(shown).timeBase(), kOneMsPerDivision + 1);
    QCOMPARE(ScopeSettings(shown).voltsIndex(kCh1), 11);
    // The channel's ON/OFF hides the trace and brings it back at its scales.
    source->Post(scope_command::shown(ScopeChannel::Ch1, false));
    view->tick();
    QVERIFY(!ScopeSettings(shown).shown(kCh1));
    source->Post(scope_command::shown(ScopeChannel::Ch1, true));
    view->tick();
    QVERIFY(ScopeSettings(shown).shown(kCh1));
    QCOMPARE(ScopeSettings(shown).voltsIndex(kCh1), 11);
    // An instrument setting has nowhere to go: the capture stays as it is.
    const SettingBlock before = shown;
    source->Post(scope_command::triggerSweep(1));
    view->tick();
    QVERIFY(shown == before);
    QCOMPARE(source->commandsPosted(), 5);
    // A capture window has no instrument to connect to.
    QVERIFY(!view->commands().handles(cmd::kConnect));
    QVERIFY(!view->commands().handles(cmd::kScopeUpdateData));
}

void CaptureTest::openCommandAndMenus() {
    AppFixture f;
    const QString path = dir_.filePath(QStringLiteral("menu.csv"));
    QVERIFY(writeFile(path, WaveformCsvText(Waveform(savedBlock(), kCh1))));
    const std::size_t before = f.app.documents(kScopeType).size();
    // File > Open Capture asks through the installed question; a cancel opens nothing.
    f.app.setFileOpening([&f](const QString& p) { return openCaptureFile(f.app, p) != nullptr; },
                         [](QWidget*) { return std::optional<QString>(); });
    f.app.commands().run(cmd::kFileOpen);
    QCOMPARE(f.app.documents(kScopeType).size(), before);
    f.app.setFileOpening([&f](const QString& p) { return openCaptureFile(f.app, p) != nullptr; },
                         [path](QWidget*) { return std::optional<QString>(path); });
    f.app.commands().run(cmd::kFileOpen);
    QCOMPARE(f.app.documents(kScopeType).size(), before + 1);
    QCOMPARE(f.app.documents(kScopeType).back()->title(), QStringLiteral("menu.csv"));
}

void CaptureTest::commandLineFilesAreOpenedAndMadeAbsoluteForTheRunningInstance() {
    AppFixture f;
    QDir::setCurrent(dir_.path());
    QVERIFY(writeFile(dir_.filePath(QStringLiteral("line.txt")),
                      WaveformDataText(Waveform(savedBlock(), kCh2))));
    LaunchOptions options;
    const QStringList arguments{"Oscilane", "--nologo", "line.txt"};
    QVERIFY(options.parser().parse(arguments));
    QString error;
    const auto request = options.request(true, &error);
    QVERIFY(request);
    QCOMPARE(request->files, QStringList{"line.txt"});
    QVERIFY2(!request->firstType, "a file to open replaces the first New Document");
    QCOMPARE(forwardedArguments(arguments, options),
             (QStringList{"Oscilane", "--nologo", dir_.filePath(QStringLiteral("line.txt"))}));

    const std::size_t before = f.app.documents(kScopeType).size();
    QVERIFY(acceptForwardedLaunch(f.app, forwardedArguments(arguments, options)).isEmpty());
    QTRY_COMPARE(f.app.documents(kScopeType).size(), before + 1);
    QCOMPARE(f.app.documents(kScopeType).back()->title(), QStringLiteral("line.txt"));
}

QTEST_MAIN(CaptureTest)
#include "app_capture_test.moc"
