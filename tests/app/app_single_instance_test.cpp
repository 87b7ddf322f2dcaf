// One instance per session: this test process is the running instance and
// starts the real application as the second one.
#include <QHostInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_fixture.h"
#include "shell/single_instance.h"

using namespace oscilane;

class SingleInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void secondStartInTheSameSessionIsRefused();
    void secondStartBringsTheFirstToTheFront();
    void lockOfACrashedInstanceIsTakenOver();

  private:
    QTemporaryDir runtime_;  // the session's runtime directory, private to this test
};

void SingleInstanceTest::initTestCase() {
    QVERIFY(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
}

void SingleInstanceTest::secondStartInTheSameSessionIsRefused() {
    SingleInstance first(QStringLiteral("OscilaneRefusal"));
    QVERIFY(first.acquire());
    SingleInstance second(QStringLiteral("OscilaneRefusal"));
    QVERIFY(!second.acquire());
    QVERIFY(second.askRunningInstanceToShow());
}

void SingleInstanceTest::secondStartBringsTheFirstToTheFront() {
    AppFixture f;
    SingleInstance first(QStringLiteral("Oscilane"));
    QVERIFY(first.acquire());
    connect(&first, &SingleInstance::showRequested, f.frame, &MainFrame::restoreAndRaise);
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    f.frame->showMinimized();
    QVERIFY(f.frame->isMinimized());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(OSCILANE_EXECUTABLE), {QStringLiteral("--nologo")});
    QVERIFY(second.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QTRY_COMPARE(shown.count(), 1);
    QVERIFY(!f.frame->isMinimized());
    QVERIFY(f.frame->isVisible());
}

void SingleInstanceTest::lockOfACrashedInstanceIsTakenOver() {
    // A process that has ended stands for the crashed instance.
    QProcess gone;
    gone.start(QStringLiteral("true"), QStringList());
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());

    SingleInstance instance(QStringLiteral("OscilaneCrashed"));
    QFile lock(instance.lockPath());
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(
        QStringLiteral("%1\nOscilane\n%2\n").arg(pid).arg(QHostInfo::localHostName()).toUtf8());
    lock.close();
    QFile socket(instance.serverPath());
    QVERIFY(socket.open(QIODevice::WriteOnly));  // a socket file left behind as well
    socket.close();

    QVERIFY(instance.acquire());
    SingleInstance second(QStringLiteral("OscilaneCrashed"));
    QVERIFY(!second.acquire());
    QVERIFY(second.askRunningInstanceToShow());
}

QTEST_MAIN(SingleInstanceTest)
#include "app_single_instance_test.moc"
