// Side bars: dragging the inner edge sets the width within 150..300 pixels,
// and the close button hides the bar only when released over it.
#include <QMainWindow>
#include <QTest>

#include "shell/side_bar.h"

using namespace oscilane;

class SideBarTest : public QObject {
    Q_OBJECT
  private slots:
    void widthAfterDrag_data();
    void widthAfterDrag();
    void draggingTheEdge_data();
    void draggingTheEdge();
    void closeButton();
};

void SideBarTest::widthAfterDrag_data() {
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<int>("mouseX");
    QTest::addColumn<int>("expected");
    QTest::newRow("left, within") << false << 200 << 240 << 240;
    QTest::newRow("left, beyond 300") << false << 200 << 420 << 300;
    QTest::newRow("left, below 150") << false << 200 << 40 << 150;
    QTest::newRow("left, past the outer edge") << false << 200 << -30 << 150;
    QTest::newRow("right, within") << true << 200 << -20 << 220;
    QTest::newRow("right, beyond 300") << true << 200 << -200 << 300;
    QTest::newRow("right, below 150") << true << 200 << 120 << 150;
}

void SideBarTest::widthAfterDrag() {
    QFETCH(bool, right);
    QFETCH(int, barWidth);
    QFETCH(int, mouseX);
    QFETCH(int, expected);
    QCOMPARE(sideBarWidthAfterDrag(right, barWidth, mouseX), expected);
}

void SideBarTest::draggingTheEdge_data() {
    QTest::addColumn<int>("area");
    QTest::addColumn<int>("pressX");  // from the bar's left edge
    QTest::addColumn<int>("releaseX");
    QTest::addColumn<int>("expected");
    QTest::newRow("left bar widened past the limit")
        << int(Qt::LeftDockWidgetArea) << 197 << 500 << 300;
    QTest::newRow("left bar narrowed past the limit")
        << int(Qt::LeftDockWidgetArea) << 195 << 20 << 150;
    QTest::newRow("left bar within limits") << int(Qt::LeftDockWidgetArea) << 199 << 260 << 260;
    QTest::newRow("press outside the zone") << int(Qt::LeftDockWidgetArea) << 150 << 500 << 200;
    QTest::newRow("right bar widened") << int(Qt::RightDockWidgetArea) << 3 << -150 << 300;
    QTest::newRow("right bar narrowed") << int(Qt::RightDockWidgetArea) << 2 << 120 << 150;
}

void SideBarTest::draggingTheEdge() {
    QFETCH(int, area);
    QFETCH(int, pressX);
    QFETCH(int, releaseX);
    QFETCH(int, expected);
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    auto* bar = new SideBar;
    window.addDockWidget(static_cast<Qt::DockWidgetArea>(area), bar);
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->barWidth(), SideBar::kDefaultWidth);

    QWidget* surface = bar->surface();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(pressX, 100));
    QTest::mouseMove(surface, QPoint((pressX + releaseX) / 2, 100));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(releaseX, 100));
    QApplication::processEvents();
    QCOMPARE(bar->barWidth(), expected);
    QCOMPARE(surface->width(), expected);
}

void SideBarTest::closeButton() {
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    auto* bar = new SideBar;
    window.addDockWidget(Qt::LeftDockWidgetArea, bar);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->title(), QStringLiteral("Side Bar"));
    const QPoint button = bar->closeButtonRect().center();
    QVERIFY(button.y() < SideBar::kCaptionHeight);

    QTest::mousePress(bar->surface(), Qt::LeftButton, {}, button);
    QTest::mouseRelease(bar->surface(), Qt::LeftButton, {}, QPoint(20, 200));
    QVERIFY(bar->isVisible());
    QTest::mouseClick(bar->surface(), Qt::LeftButton, {}, button);
    QVERIFY(!bar->isVisible());
}

QTEST_MAIN(SideBarTest)
#include "app_side_bar_test.moc"
