// The generator document as the application creates it: its frame with the
// "DDS Controller" bar and the tool bar, the view over the session's wave,
// the wave kept by the document's connection, and its File menu.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app_fixture.h"
#include "device/instrument_window.h"
#include "generator/dds_controller.h"
#include "generator/generator_frame.h"
#include "generator/generator_ids.h"
#include "generator/generator_session.h"
#include "generator/generator_view.h"
#include "shell/document.h"
#include "shell/side_bar.h"
#include "shell/window_save.h"

using namespace oscilane;

class GeneratorDocumentTest : public QObject {
    Q_OBJECT
  private slots:
    void frameHasControllerAndToolBar();
    void fileMenuSavesAndOpensCsvLikeTheButtons();
};

void GeneratorDocumentTest::frameHasControllerAndToolBar() {
    AppFixture f;
    Document* d = f.app.newDocument(2);
    QVERIFY(d);
    auto* frame = qobject_cast<GeneratorFrame*>(d->frames().front());
    QVERIFY(frame);
    QCOMPARE(frame->controllerBar()->title(), QStringLiteral("DDS Controller"));
    auto* view = qobject_cast<GeneratorView*>(frame->view());
    QVERIFY(view);
    auto* session = dynamic_cast<GeneratorSession*>(deviceLinkOf(*d).session());
    QVERIFY(session);

    QAction* square = frame->action(32797);
    QAction* arb = frame->action(32807);
    QVERIFY(square && arb);
    QCOMPARE(arb->toolTip(), QStringLiteral("Arbitrary Waveform Edit"));
    QVERIFY(frame->action(32795)->isChecked());
    square->trigger();
    QCOMPARE(session->wave().waveType, WaveType::Square);
    QVERIFY(square->isChecked());
    QVERIFY(!frame->action(32795)->isChecked());
    QVERIFY(!frame->action(gencmd::kZoomIn)->isEnabled());
    arb->trigger();
    QCOMPARE(session->wave().baseType, WaveType::Square);
    QVERIFY(frame->action(gencmd::kZoomIn)->isEnabled());
    QVERIFY(view->controller()->rowShown(GeneratorBox::Frequency));
    QVERIFY(!view->controller()->rowShown(GeneratorBox::Amplitude));
    QVERIFY(f.messages.texts().isEmpty());
}

void GeneratorDocumentTest::fileMenuSavesAndOpensCsvLikeTheButtons() {
    AppFixture f;
    Document* d = f.app.newDocument(2);
    QVERIFY(d);
    auto* view = qobject_cast<GeneratorView*>(d->frames().front()->view());
    QVERIFY(view);
    GeneratorWave& wave = dynamic_cast<GeneratorSession&>(*deviceLinkOf(*d).session()).wave();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("menu.csv"));
    view->saver().askChoice = [](QWidget*) { return std::optional<SaveChoice>(SaveChoice{}); };
    view->saver().askFile = [path](QWidget*, const SaveFileQuestion& q) {
        return std::optional<ChosenFile>(ChosenFile{path, q.filters.front()});
    };
    view->setOpenDialog([path](QWidget*) { return path; });

    QMenu* file = nullptr;
    for (QAction* a : f.frame->menuBar()->actions())
        if (a->text() == QStringLiteral("&File")) file = a->menu();
    QVERIFY(file);
    QStringList items;
    for (QAction* a : file->actions()) items << a->text();
    const qsizetype save = items.indexOf(QStringLiteral("Save CSV"));
    QVERIFY2(save > 0, qPrintable(items.join(u'|')));
    QCOMPARE(items[save - 1], QStringLiteral("&New"));
    QCOMPARE(items.value(save + 1), QStringLiteral("Open CSV"));

    file->actions()[save]->trigger();
    QVERIFY(QFile::exists(path));
    QCOMPARE(wave.waveType, WaveType::Sine);
    wave.frequency = 5;  // the file says 1000 Hz
    file->actions()[save + 1]->trigger();
    QCOMPARE(wave.waveType, WaveType::Arbitrary);
    QCOMPARE(wave.frequency, 1000.0);
    QVERIFY(f.messages.texts().isEmpty());
}

QTEST_MAIN(GeneratorDocumentTest)
#include "generator_document_test.moc"
