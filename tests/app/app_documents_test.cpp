// Document types, the per-type lists with their naming, activation, deletion
// and retitling, the close box, menus and the New Document dialog.
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <memory>

#include "app_fixture.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/new_document_dialog.h"

using namespace oscilane;

namespace {

QStringList menuTitles(const MainFrame& frame) {
    QStringList titles;
    for (QAction* a : frame.menuBar()->actions()) titles.append(a->text());
    return titles;
}

void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

}  // namespace

class DocumentsTest : public QObject {
    Q_OBJECT
  private slots:
    void registersFiveTypesInOrder();
    void firstDocumentOfEachType_data();
    void firstDocumentOfEachType();
    void numberIsTheListLength();
    void badTypeOrIndexIsRefused();
    void retitleKeepsTheSerialNumber();
    void closeBoxOnlyHides();
    void deleteClosesFramesAndDocument();
    void menuBarFollowsTheActiveWindow();
    void creationCommands();
    void frameTitleStaysFixed();
    void languageCommandsNameThemselves();
    void newCommandAsksForTheType();
    void newDocumentDialogChoices();
    void messageFromAWorkerThreadIsShownByTheGuiThread();
};

void DocumentsTest::registersFiveTypesInOrder() {
    AppFixture f;
    struct Expected {
        int resource;
        const char* documentName;
        const char* registryName;
    };
    const Expected expected[] = {{129, "Scope", "Scope Document"},
                                 {130, "Meter", "Meter Document"},
                                 {131, "DDS", "DDS Document"},
                                 {132, "Sheet", "Sheet Document"},
                                 {133, "Recorder", "Recorder Document"}};
    QCOMPARE(f.app.typeCount(), 5);
    for (int type = 0; type < 5; ++type) {
        const DocumentTemplate& t = f.app.documentTemplate(type);
        QCOMPARE(t.resourceId, expected[type].resource);
        QCOMPARE(t.field(DocumentStringField::WindowTitle), QString());
        QCOMPARE(t.field(DocumentStringField::DocumentName),
                 QLatin1String(expected[type].documentName));
        QCOMPARE(t.field(DocumentStringField::RegistryTypeId),
                 QLatin1String(expected[type].documentName) + QLatin1String(".Document"));
        QCOMPARE(t.field(DocumentStringField::RegistryTypeName),
                 QLatin1String(expected[type].registryName));
    }
    QVERIFY(f.messages.texts().isEmpty());
}

void DocumentsTest::firstDocumentOfEachType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("title");
    QTest::newRow("scope") << 0 << "DigitalScope1";
    QTest::newRow("meter") << 1 << "DigitalMeter1";
    QTest::newRow("generator") << 2 << "Arbitrary Function Generator1";
    QTest::newRow("sheet") << 3 << "Data Sheet1";
    QTest::newRow("recorder") << 4 << "Record1";
}

void DocumentsTest::firstDocumentOfEachType() {
    QFETCH(int, type);
    QFETCH(QString, title);
    AppFixture f;
    Document* d = f.app.newDocument(type);
    QVERIFY(d);
    QCOMPARE(d->title(), title);
    QCOMPARE(f.app.documents(type).size(), size_t(1));
    QCOMPARE(d->frames().size(), 1);
    QCOMPARE(d->frames().front()->windowTitle(), title);
    QCOMPARE(f.frame->activeChildFrame(), d->frames().front());
}

void DocumentsTest::numberIsTheListLength() {
    AppFixture f;
    Document* first = f.app.newDocument(0);
    Document* second = f.app.newDocument(0);
    QCOMPARE(first->title(), QStringLiteral("DigitalScope1"));
    QCOMPARE(second->title(), QStringLiteral("DigitalScope2"));
    QCOMPARE(f.app.newDocument(1)->title(), QStringLiteral("DigitalMeter1"));

    f.app.deleteDocument(0, 0);
    QCOMPARE(f.app.documents(0), std::vector<Document*>{second});
    // The new scope takes the list's new length, so two scopes share a title.
    Document* third = f.app.newDocument(0);
    QCOMPARE(third->title(), QStringLiteral("DigitalScope2"));
    QCOMPARE(f.app.documents(0), (std::vector<Document*>{second, third}));
}

void DocumentsTest::badTypeOrIndexIsRefused() {
    AppFixture f;
    Document* scope = f.app.newDocument(0);
    QCOMPARE(f.app.newDocument(5), nullptr);
    QCOMPARE(f.app.newDocument(-1), nullptr);
    QCOMPARE(f.messages.texts(),
             QStringList({"Failed to create new document!", "Failed to create new document!"}));
    f.messages.clear();

    f.app.activateDocument(5, 0);
    f.app.deleteDocument(-1, 0);
    f.app.retitleDocument(7, 0, QStringLiteral("x"));
    f.app.deleteDocument(0, 1);  // a type that exists, an index that does not
    f.app.retitleDocument(0, -1, QStringLiteral("x"));
    QCOMPARE(f.messages.texts(), QStringList(5, QStringLiteral("Error Parameter!!!")));
    QCOMPARE(f.app.documents(0), std::vector<Document*>{scope});
    QCOMPARE(scope->title(), QStringLiteral("DigitalScope1"));
}

void DocumentsTest::retitleKeepsTheSerialNumber() {
    AppFixture f;
    Document* d = f.app.newDocument(0);
    f.app.retitleDocument(0, 0, QStringLiteral("Bench"));
    QCOMPARE(d->title(), QStringLiteral("Bench"));

    d->attachSerialNumber(QStringLiteral("ZV1234"));
    QCOMPARE(d->title(), QStringLiteral("Bench - SN: ZV1234"));
    QCOMPARE(d->frames().front()->windowTitle(), d->title());
    // A name with its own hyphen keeps it; only the appended part is the suffix.
    f.app.retitleDocument(0, 0, QStringLiteral("Probe-A"));
    QCOMPARE(d->title(), QStringLiteral("Probe-A - SN: ZV1234"));
    d->detachSerialNumber();
    QCOMPARE(d->title(), QStringLiteral("Probe-A"));
    d->detachSerialNumber();
    QCOMPARE(d->title(), QStringLiteral("Probe-A"));
}

void DocumentsTest::closeBoxOnlyHides() {
    AppFixture f;
    Document* d = f.app.newDocument(4);
    ChildFrame* frame = d->frames().front();
    QVERIFY(frame->isVisible());
    QVERIFY(!frame->close());
    QVERIFY(!frame->isVisible());
    processDeletes();
    QCOMPARE(f.app.documents(4), std::vector<Document*>{d});
    QCOMPARE(d->frames(), QList<ChildFrame*>{frame});

    f.app.activateDocument(4, 0);
    QVERIFY(frame->isVisible());
    QCOMPARE(f.frame->mdiArea()->activeSubWindow(), frame);
}

void DocumentsTest::deleteClosesFramesAndDocument() {
    AppFixture f;
    QPointer<Document> d = f.app.newDocument(1);
    QPointer<ChildFrame> frame = d->frames().front();
    f.app.deleteDocument(1, 0);
    processDeletes();
    QVERIFY(frame.isNull());
    QVERIFY(d.isNull());
    QVERIFY(f.app.documents(1).empty());
    QVERIFY(f.frame->mdiArea()->subWindowList().isEmpty());
}

void DocumentsTest::menuBarFollowsTheActiveWindow() {
    AppFixture f;
    const QStringList frameMenu = {"&File", "&View", "&Language", "&Help"};
    QCOMPARE(menuTitles(*f.frame), frameMenu);
    Document* recorder = f.app.newDocument(4);
    QCOMPARE(menuTitles(*f.frame), QStringList({"&File", "&View", "&Tools", "&Window", "&Help"}));
    // No recorder object handles the instrument commands.
    for (int id : {cmd::kConnect, cmd::kDisconnect, cmd::kOption})
        QVERIFY(!f.frame->commandState(id).enabled);
    QVERIFY(f.frame->commandState(cmd::kWindowCascade).enabled);
    recorder->frames().front()->close();
    QCOMPARE(f.frame->mdiArea()->activeSubWindow(), nullptr);
    QCOMPARE(menuTitles(*f.frame), frameMenu);
}

void DocumentsTest::creationCommands() {
    AppFixture f;
    QVERIFY(!f.frame->commandState(cmd::kNewGenerator).enabled);
    f.frame->runCommand(cmd::kNewGenerator);
    QVERIFY(f.app.documents(2).empty());
    for (int id : {cmd::kNewScope, cmd::kNewMeter, cmd::kNewSheet, cmd::kNewRecorder})
        QVERIFY(f.frame->commandState(id).enabled);
    f.frame->runCommand(cmd::kNewSheet);
    f.frame->runCommand(cmd::kNewRecorder);
    QCOMPARE(f.app.documents(3).front()->title(), QStringLiteral("Data Sheet1"));
    QCOMPARE(f.app.documents(4).front()->title(), QStringLiteral("Record1"));

    f.frame->runCommand(cmd::kViewBrowserBar);
    QVERIFY(!f.frame->commandState(cmd::kViewBrowserBar).checked);
    f.frame->runCommand(cmd::kViewBrowserBar);
    QVERIFY(f.frame->commandState(cmd::kViewBrowserBar).checked);
}

void DocumentsTest::frameTitleStaysFixed() {
    AppFixture f;
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("Oscilane for Zelvo Ver 1.03"));
    Document* d = f.app.newDocument(0);
    d->frames().front()->showMaximized();
    d->setName(QStringLiteral("Renamed"));
    QApplication::processEvents();
    QCOMPARE(f.frame->windowTitle(), QStringLiteral("Oscilane for Zelvo Ver 1.03"));
}

void DocumentsTest::languageCommandsNameThemselves() {
    AppFixture f;
    f.frame->runCommand(cmd::kLanguageEnglish);
    f.frame->runCommand(cmd::kLanguageChinese);
    QCOMPARE(f.messages.texts(), QStringList({"English", "Chinese"}));
}

void DocumentsTest::newCommandAsksForTheType() {
    AppFixture f;
    std::optional<int> answer = 1;
    f.app.setTypeChooser([&answer] { return answer; });
    f.frame->runCommand(cmd::kFileNew);
    QCOMPARE(f.app.documents(1).size(), size_t(1));
    answer.reset();
    f.frame->runCommand(cmd::kFileNew);
    QCOMPARE(f.app.documents(1).size(), size_t(1));
}

void DocumentsTest::newDocumentDialogChoices() {
    NewDocumentDialog dialog;
    struct Expected {
        const char* text;
        bool enabled;
        bool hidden;
    };
    const Expected expected[] = {{"Digital Socpe", true, false},
                                 {"Digital Meter", true, false},
                                 {"Arbitrary Function Generator", false, false},
                                 {" Wave Data Sheet", true, true},
                                 {" Wave Record", true, true}};
    for (int type = 0; type < 5; ++type) {
        QCOMPARE(dialog.choice(type)->text(), QLatin1String(expected[type].text));
        QCOMPARE(dialog.choice(type)->isEnabled(), expected[type].enabled);
        QCOMPARE(dialog.choice(type)->isHidden(), expected[type].hidden);
    }
    QCOMPARE(dialog.checkedType(), 0);
    dialog.choice(1)->setChecked(true);
    QCOMPARE(dialog.checkedType(), 1);
}

// A worker thread's message is handed to the GUI thread, which shows it
// while the worker waits, as it would for its own modal box.
void DocumentsTest::messageFromAWorkerThreadIsShownByTheGuiThread() {
    MessageRecorder messages;
    std::unique_ptr<QThread> worker(
        QThread::create([] { showMessage(QStringLiteral("Can not set DMM measure mode!")); }));
    worker->start();
    QVERIFY(!worker->wait(200));  // blocked until the GUI thread runs its event loop
    QTRY_VERIFY(worker->isFinished());
    QCOMPARE(messages.texts(), QStringList{"Can not set DMM measure mode!"});
}

QTEST_MAIN(DocumentsTest)
#include "app_documents_test.moc"
