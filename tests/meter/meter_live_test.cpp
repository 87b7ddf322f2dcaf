// A connected meter window against the simulated instrument over loopback
// UDP: readings arrive, the tool bar and the controller bar change the
// meter's mode and range, storage mode logs every sampled reading, and
// Disconnect and close leave nothing unwritten; polls that fail leave a gap
// in the trend and the log, marked stale on the display.
#include "live_window.h"  // first: the simulator's headers precede Qt's keyword macros

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <functional>

#include "meter/meter_command_ids.h"
#include "meter/meter_frame.h"
#include "meter/meter_texts.h"
#include "meter/meter_view.h"
#include "model/meter_data.h"
#include "shell/command_ids.h"

using namespace oscilane;

namespace {

class MeterLive : public LiveWindow<MeterView> {
  protected:
    void SetUp() override { show(createMeterView, createMeterFrame, QSize(1000, 640)); }

    zelvo::sim::MeterState meter() {
        return instrument_.inspect(
            [](zelvo::sim::Instrument& i, zelvo::sim::Responder&) { return i.meter(); });
    }
    bool windowShows(const std::function<bool(const DmmInfo&)>& done) {
        return QTest::qWaitFor(
            [&] { return view_->data().HasReading() && done(view_->data().LastGood()); },
            kLivePatienceMs);
    }
    static int linesIn(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? static_cast<int>(f.readAll().count("\r\n")) : -1;
    }

    QTemporaryDir folder_;
};

TEST_F(MeterLive, ModesChangeOnTheMeterAndEverySampledReadingReachesTheLog) {
    ASSERT_TRUE(connect()) << messages();
    ASSERT_TRUE(windowShows([](const DmmInfo& r) { return r.measureMode == 0; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view_->data().TrendSize() >= 2; }, kLivePatienceMs));

    // The tool bar's ohm command: the meter changes mode, the trend starts over.
    view_->commands().run(cmd::kMeterOhm);
    ASSERT_TRUE(windowShows([](const DmmInfo& r) { return r.measureMode == 2; }));
    EXPECT_EQ(meter().mode, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view_->data().TrendSize() >= 1; }, kLivePatienceMs));
    for (const MeterReading& reading : view_->data().Trend()) EXPECT_EQ(reading.measureMode, 2);
    EXPECT_TRUE(view_->commands().state(cmd::kMeterOhm).checked);

    // The controller bar asks for manual range; the range list appears.
    MeterController* bar = view_->controller();
    ASSERT_TRUE(bar);
    bar->autoManualButton()->click();
    ASSERT_TRUE(windowShows([](const DmmInfo& r) { return r.manualRange == 1; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->rangeList()->isHidden(); }, kLivePatienceMs));
    EXPECT_EQ(bar->rangeList()->count(), 6);

    // Storage mode: every sample goes to the log, through Disconnect and close.
    const QString log = folder_.filePath(QStringLiteral("m.doc"));
    bar->setLogPathChooser([&](QWidget*) { return log; });
    bar->storageModeButton()->click();
    ASSERT_TRUE(view_->data().Storage());
    ASSERT_TRUE(QTest::qWaitFor([&] { return linesIn(log) >= 10; }, kLivePatienceMs))
        << "a 2-second batch at 200 ms";
    QTest::qWait(500);
    view_->commands().run(cmd::kDisconnect);
    ASSERT_FALSE(InstrumentWindow::of(*view_)->link().isConnected());
    // A sample the last tick asked for may land after the hand-over; it
    // waits in the filling buffer for the close.
    QTest::qWait(300);
    const int sampled = static_cast<int>(view_->data().TrendSize());
    const int waiting = static_cast<int>(view_->data().FillingReadings());
    EXPECT_LE(waiting, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return linesIn(log) == sampled - waiting; }, kLivePatienceMs))
        << linesIn(log) << " of " << sampled;
    delete frame_;
    frame_ = nullptr;
    EXPECT_EQ(linesIn(log), sampled);
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages();
}

TEST_F(MeterLive, PollsThatFailWhileTheLinkHoldsLeaveAGapMarkedStale) {
    ASSERT_TRUE(connect()) << messages();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view_->data().TrendSize() >= 2; }, kLivePatienceMs));
    const QString log = folder_.filePath(QStringLiteral("m.doc"));
    view_->controller()->setLogPathChooser([&](QWidget*) { return log; });
    view_->controller()->storageModeButton()->click();
    ASSERT_TRUE(view_->data().Storage());

    // Block reads come back empty; the link check still passes.
    instrument_.setFaults({.emptyBlockReplies = true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return view_->data().Stale(); }, kLivePatienceMs));
    EXPECT_FALSE(InstrumentWindow::of(*view_)->link().linkLost());
    EXPECT_NE(MeterStatusLine(view_->picture()).find(metertext::kStaleReading), std::string::npos);
    // A sample asked for just before the reading went stale may still land.
    QTest::qWait(300);
    const std::size_t sampled = view_->data().TrendSize();
    QTest::qWait(1000);  // five sampling intervals of 200 ms
    EXPECT_EQ(view_->data().TrendSize(), sampled) << "a stale reading was sampled";
    view_->saveData();  // storage mode: the log catches up
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return linesIn(log) == static_cast<int>(sampled); }, kLivePatienceMs))
        << linesIn(log) << " of " << sampled;

    // A good poll ends it: no stale mark, and samples come again.
    instrument_.setFaults({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view_->data().Stale(); }, kLivePatienceMs));
    EXPECT_EQ(MeterStatusLine(view_->picture()).find(metertext::kStaleReading), std::string::npos);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return view_->data().TrendSize() > sampled; }, kLivePatienceMs));
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages();
}

}  // namespace
