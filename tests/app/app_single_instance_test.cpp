// One instance per session: this test process is the running instance and
// starts the real application as the second one.
#include <QHostInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

#include "app_fixture.h"
#include "launch_options.h"
#include "shell/single_instance.h"

using namespace oscilane;

namespace {

// A later start's hand-over, run beside this thread's event loop, which is
// where the running instance answers.
bool reachesTheRunningInstance(SingleInstance& later) {
    QString reason;
    bool forwarded = false;
    std::atomic<bool> done{false};
    std::thread start([&] {
        forwarded = later.forwardLaunch({QStringLiteral("Oscilane")}, &reason);
        done = true;
    });
    const bool answered = QTest::qWaitFor([&] { return done.load(); }, 20000);
    start.join();
    if (!answered || !forwarded) qWarning("hand-over failed: %s", qPrintable(reason));
    return answered && forwarded;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void secondStartInTheSameSessionIsRefused();
    void secondStartBringsTheFirstToTheFront();
    void lockOfACrashedInstanceIsTakenOver();
    void aLaterStartHandsItsCommandLineOver();
    void aCommandLineTheRunningInstanceRefusesEndsWithItsReason();
    void withNoRunningInstanceTheLaterStartSaysSo();

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
    QVERIFY(reachesTheRunningInstance(second));
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
    QVERIFY(reachesTheRunningInstance(second));
}

namespace {

// Runs Oscilane as a later start in the test's session; its exit code, and
// standard error in *errors.
int runLaterStart(const QString& runtime, const QStringList& arguments, QString* errors) {
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(OSCILANE_EXECUTABLE), arguments);
    if (!second.waitForStarted()) return -1;
    // The running instance answers from this thread's event loop.
    if (!QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000)) {
        second.kill();
        return -1;
    }
    *errors = QString::fromLocal8Bit(second.readAllStandardError());
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

}  // namespace

void SingleInstanceTest::aLaterStartHandsItsCommandLineOver() {
    AppFixture f;
    SingleInstance first(QStringLiteral("Oscilane"));
    QVERIFY(first.acquire());
    QStringList received;
    first.setLaunchHandler([&](const QStringList& arguments) {
        received = arguments;
        return acceptForwardedLaunch(f.app, arguments);
    });
    const int meter = 1;
    const std::size_t metersBefore = f.app.documents(meter).size();

    QString errors;
    QCOMPARE(runLaterStart(
                 runtime_.path(),
                 {QStringLiteral("--nologo"), QStringLiteral("--new"), QStringLiteral("meter")},
                 &errors),
             0);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    QCOMPARE(received.mid(1), (QStringList{QStringLiteral("--nologo"), QStringLiteral("--new"),
                                           QStringLiteral("meter")}));
    // The running instance opens the window as if it had been started so.
    QTRY_COMPARE(f.app.documents(meter).size(), metersBefore + 1);
}

void SingleInstanceTest::aCommandLineTheRunningInstanceRefusesEndsWithItsReason() {
    AppFixture f;
    SingleInstance first(QStringLiteral("Oscilane"));
    QVERIFY(first.acquire());
    first.setLaunchHandler(
        [&](const QStringList& arguments) { return acceptForwardedLaunch(f.app, arguments); });
    QTemporaryDir pictures;
    QString errors;
    QCOMPARE(
        runLaterStart(runtime_.path(),
                      {QStringLiteral("--screenshot"), pictures.filePath("main.png")}, &errors),
        1);
    QVERIFY2(errors.contains(QStringLiteral("--screenshot cannot be handed to a running Oscilane")),
             qPrintable(errors));
    QVERIFY(!QFile::exists(pictures.filePath("main.png")));
}

void SingleInstanceTest::withNoRunningInstanceTheLaterStartSaysSo() {
    SingleInstance nobody(QStringLiteral("OscilaneNobodyRuns"));
    QString reason;
    QVERIFY(!nobody.forwardLaunch({QStringLiteral("Oscilane")}, &reason));
    QCOMPARE(reason, QStringLiteral("no running Oscilane answers"));
}

QTEST_MAIN(SingleInstanceTest)
#include "app_single_instance_test.moc"
