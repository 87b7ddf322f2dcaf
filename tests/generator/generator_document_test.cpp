// The generator document as the application creates it: its frame with the
// "DDS Controller" bar and the tool bar, the view over the session's wave,
// and the wave kept by the document's connection.
#include <QAction>
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

using namespace oscilane;

class GeneratorDocumentTest : public QObject {
    Q_OBJECT
  private slots:
    void frameHasControllerAndToolBar();
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

QTEST_MAIN(GeneratorDocumentTest)
#include "generator_document_test.moc"
