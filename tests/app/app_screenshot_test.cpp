// The main window with a scope and a meter window renders a real picture:
// tool bar, browser and both displays, not a blank frame.
#include <QDir>
#include <QMdiArea>
#include <QSet>
#include <QTest>

#include "app_fixture.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/document.h"

using namespace oscilane;

class ScreenshotTest : public QObject {
    Q_OBJECT
  private slots:
    void mainWindowWithScopeAndMeter();
};

void ScreenshotTest::mainWindowWithScopeAndMeter() {
    AppFixture f;
    Document* scope = f.app.newDocument(0);
    f.app.newDocument(1);
    f.frame->runCommand(cmd::kWindowTileVertical);
    QVERIFY(QTest::qWaitForWindowExposed(f.frame));
    auto* view = qobject_cast<ScopeView*>(scope->frames().front()->view());
    QVERIFY(view);
    view->tick();  // the first tick lays the display out
    QApplication::processEvents();

    const QImage shot = f.frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shot.save(QDir::current().filePath(QStringLiteral("app_screenshot_test.png")));
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
    QVERIFY2(colours.size() > 50, qPrintable(QString::number(colours.size())));

    // The scope's grid is drawn in grey on black where its view is.
    const GridRect g = view->screen().grid();
    const QRect grid(view->screen().mapTo(f.frame, QPoint(g.left, g.top)),
                     QSize(g.width(), g.height()));
    int black = 0, grey = 0;
    for (int y = grid.top() + 1; y < grid.bottom(); ++y)
        for (int x = grid.left() + 1; x < grid.right(); ++x) {
            const QRgb p = shot.pixel(x, y);
            black += p == qRgb(0, 0, 0);
            grey += p == qRgb(200, 200, 200);
        }
    QVERIFY(black > grid.width() * grid.height() / 2);
    QVERIFY(grey > 100);
}

QTEST_MAIN(ScreenshotTest)
#include "app_screenshot_test.moc"
