// Scope and meter windows, shown offscreen, against a simulated instrument
// that fails while they are connected: it vanishes mid-upload, goes silent,
// answers garbage or cut-short replies, and comes back.  Each transport runs
// the same cases: UDP on loopback, a pseudo-terminal named as serial port 3,
// and the simulated USB bus.
//
// Through all of it the GUI thread must keep turning (a watchdog timer
// measures the longest gap between its ticks), the window must show the
// lost link soon after the instrument fails, Disconnect must return at once,
// the window must recover once the instrument is back, every displayed
// block must come from one upload (CH1 is flat at a per-acquisition code),
// and a meter log in storage mode must keep every reading it sampled.
// clang-format off
#include "usb_bus_fixture.h"  // first: the simulator's headers precede Qt's keyword macros
#include "loopback.h"
#include "serial_server.h"
// clang-format on

namespace {
// Before Qt's headers, whose keyword macro would eat the name "signals".
void flattenCh1(zelvo::sim::SimulatedInstrument& instrument) {
    instrument.inspect([](zelvo::sim::Instrument& i, zelvo::sim::Responder&) {
        i.signals().ch1AcquisitionCode = true;
    });
}
}  // namespace

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/connect_target.h"
#include "device/device_tables.h"
#include "device/instrument_window.h"
#include "device/link_settings.h"
#include "meter/meter_controller.h"
#include "meter/meter_frame.h"
#include "meter/meter_view.h"
#include "model/meter_data.h"
#include "model/waveform.h"
#include "scope/scope_session.h"
#include "scope/scope_view.h"
#include "scope/scope_window.h"
#include "shell/child_frame.h"
#include "shell/command_ids.h"
#include "shell/command_map.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"

using namespace oscilane;
using namespace std::chrono_literals;

namespace {

// The window must show a lost link within 2 s of the worker's next cycle;
// a cycle starts at most an automatic interval (200 ms) plus its pauses later.
constexpr int kLostWithinMs = 2600;
// A serial upload is only known to have stalled once it has not moved for a
// second (twice a reply's line time at 9600 baud); its next cycle starts then.
constexpr int kSerialStallMs = 1000;
constexpr int kDisconnectWithinMs = 2000;
// Long enough after the instrument falls silent for the worker to be waiting
// on it (its next cycle starts within an automatic interval), short of any
// link's time-out.
constexpr int kExchangeUnderWayMs = 400;
// Recovery may need the link library to find the instrument again.
constexpr int kRecoverWithinMs = 8000;
// The GUI thread is meant to stall no longer than 200 ms; the assertion only
// catches a thread that blocks on the link (sanitizer builds run this too).
constexpr qint64 kStallLimitMs = 1000;

enum class Transport { Udp, Serial, Usb };

std::string nameOf(Transport t) {
    switch (t) {
        case Transport::Udp:
            return "Udp";
        case Transport::Serial:
            return "Serial";
        default:
            return "Usb";
    }
}

// The simulated instrument behind one transport, and how it goes and comes back.
class Endpoint {
  public:
    virtual ~Endpoint() = default;
    virtual zelvo::sim::SimulatedInstrument& instrument() = 0;
    virtual QString target() const = 0;  // as --connect names it
    virtual void vanish() = 0;
    virtual void comeBack() = 0;
};

class UdpEndpoint final : public Endpoint {
  public:
    UdpEndpoint() : server_(zelvo::sim::serveOnFreeLoopback(instrument_)) {
        address_ = server_->address();
    }
    zelvo::sim::SimulatedInstrument& instrument() override { return instrument_; }
    QString target() const override {
        return QStringLiteral("lan:") + QString::fromStdString(address_);
    }
    void vanish() override { server_.reset(); }
    void comeBack() override {
        server_ = std::make_unique<zelvo::sim::UdpServer>(instrument_, address_, 2001);
        server_->start();
    }

  private:
    zelvo::sim::SimulatedInstrument instrument_;
    std::string address_;
    std::unique_ptr<zelvo::sim::UdpServer> server_;
};

// Serial port 3 is a link in the build folder (ZELVO_COM3) that points at the
// pseudo-terminal of the running server.
class SerialEndpoint final : public Endpoint {
  public:
    SerialEndpoint() {
        const char* port = std::getenv("ZELVO_COM3");
        if (port == nullptr) throw std::runtime_error("ZELVO_COM3 must name the link to make");
        link_ = port;
        comeBack();
    }
    ~SerialEndpoint() override {
        std::error_code ignored;
        std::filesystem::remove(link_, ignored);
    }
    zelvo::sim::SimulatedInstrument& instrument() override { return instrument_; }
    QString target() const override { return QStringLiteral("serial:3"); }
    // Closing the pseudo-terminal hangs the line up under the open port.
    void vanish() override { server_.reset(); }
    void comeBack() override {
        server_ = std::make_unique<zelvo::sim::SerialServer>(instrument_);
        server_->start();
        std::error_code ignored;
        std::filesystem::remove(link_, ignored);
        std::filesystem::create_symlink(server_->path(), link_);
    }

  private:
    zelvo::sim::SimulatedInstrument instrument_;
    std::filesystem::path link_;
    std::unique_ptr<zelvo::sim::SerialServer> server_;
};

// The bus's first instrument, unplugged and plugged in again.
class UsbEndpoint final : public Endpoint {
  public:
    UsbEndpoint() : bus_(zelvo::testing::UsbBus::instance()) {}
    ~UsbEndpoint() override {
        instrument().setFaults({});
        bus_.server().plug(bus_.port(0));
    }
    zelvo::sim::SimulatedInstrument& instrument() override { return bus_.instrument(0); }
    QString target() const override { return QStringLiteral("usb:0"); }
    void vanish() override { bus_.server().unplug(bus_.port(0)); }
    void comeBack() override { bus_.server().plug(bus_.port(0)); }

  private:
    zelvo::testing::UsbBus& bus_;
};

// The longest time the GUI thread went without serving its timers.
class Watchdog {
  public:
    Watchdog() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout,
                         [this] { longest_ = std::max(longest_, clock_.restart()); });
        clock_.start();
        timer_.start();
    }
    qint64 longestMs() const { return longest_; }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

// Waits for done() while the GUI thread runs; the milliseconds it took, or -1.
qint64 msUntil(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    return QTest::qWaitFor(done, limitMs) ? clock.elapsed() : -1;
}

class WindowFaults : public ::testing::TestWithParam<Transport> {
  protected:
    void SetUp() override {
        DeviceTables::instance().clear();
        switch (GetParam()) {
            case Transport::Udp:
                endpoint_ = std::make_unique<UdpEndpoint>();
                break;
            case Transport::Serial:
                endpoint_ = std::make_unique<SerialEndpoint>();
                break;
            case Transport::Usb:
                endpoint_ = std::make_unique<UsbEndpoint>();
                break;
        }
        watchdog_ = std::make_unique<Watchdog>();
    }
    void TearDown() override {
        delete frame_;
        frame_ = nullptr;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a dialog is left open";
        std::cout << "[ figures  ] " << nameOf(GetParam()) << ": longest GUI stall "
                  << watchdog_->longestMs() << " ms, longest lost-link notice " << longestLostMs_
                  << " ms, longest Disconnect " << longestDisconnectMs_ << " ms\n";
        EXPECT_LT(watchdog_->longestMs(), kStallLimitMs);
        watchdog_.reset();
        endpoint_.reset();
        DeviceTables::instance().clear();
    }

    void showScope() {
        view_ = createScopeView(document_);
        frame_ = createScopeFrame(document_, view_);
        show();
        auto* scope = static_cast<ScopeView*>(view_);
        session_ = static_cast<ScopeSession*>(link().session());
        QObject::connect(scope, &ScopeView::measured, scope, [this] { checkDisplayedBlock(); });
        // A serial line updates on request: ask for the next upload at every tick.
        auto* asker = new QTimer(scope);
        QObject::connect(asker, &QTimer::timeout, scope, [this] {
            if (link().isConnected() && link().settings().updateMode == kUpdateSingle &&
                !session_->uploads().requested())
                session_->uploads().request();
        });
        asker->start(50);
    }
    void showMeter() {
        view_ = createMeterView(document_);
        frame_ = createMeterFrame(document_, view_);
        show();
    }
    void show() {
        frame_->resize(1000, 700);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_));
    }
    CDeviceLink& link() { return InstrumentWindow::of(*view_)->link(); }
    zelvo::sim::SimulatedInstrument& instrument() { return endpoint_->instrument(); }

    bool connect() {
        QString error;
        const auto settings = settingsForConnectTarget(endpoint_->target(), &error);
        if (!settings) {
            ADD_FAILURE() << error.toStdString();
            return false;
        }
        return InstrumentWindow::of(*view_)->connectTo(*settings);
    }
    void disconnect() {
        QElapsedTimer clock;
        clock.start();
        dynamic_cast<CommandTarget&>(*view_).commands().run(cmd::kDisconnect);
        const qint64 took = clock.elapsed();
        longestDisconnectMs_ = std::max(longestDisconnectMs_, took);
        EXPECT_LT(took, kDisconnectWithinMs);
        EXPECT_FALSE(link().isConnected());
    }

    // Blocks the scope window has copied for display, and whether each was whole.
    void checkDisplayedBlock() {
        const Waveform ch1(session_->data().displayedBlock, 0);
        const int first = ch1.code(0);
        for (int i = 1; i < Waveform::kSamples; ++i)
            if (ch1.code(i) != first) {
                ++mixedBlocks_;
                return;
            }
        if (first != lastCode_) ++distinctBlocks_;
        lastCode_ = first;
    }
    // New blocks reach the display.
    bool blocksArrive(int count = 2) {
        const int from = distinctBlocks_;
        return QTest::qWaitFor([&] { return distinctBlocks_ >= from + count; }, kRecoverWithinMs);
    }
    void expectLinkLost(const char* what) {
        const int within = kLostWithinMs + (GetParam() == Transport::Serial ? kSerialStallMs : 0);
        const qint64 took = msUntil([&] { return link().linkLost(); }, within + 2000);
        EXPECT_GE(took, 0) << what << ": the window never showed the lost link";
        EXPECT_LE(took, within) << what;
        longestLostMs_ = std::max(longestLostMs_, took);
    }
    // The link is good again without the user's help, or after Connect.
    void expectRecovery(const char* what) {
        if (!QTest::qWaitFor([&] { return !link().linkLost(); }, kRecoverWithinMs)) {
            disconnect();
            ASSERT_TRUE(QTest::qWaitFor([&] { return connect(); }, kRecoverWithinMs))
                << what << ": " << messages_.texts().join(QLatin1Char('|')).toStdString();
            messages_.clear();
        }
        EXPECT_FALSE(link().linkLost()) << what;
    }

    MessageRecorder messages_;
    std::unique_ptr<Endpoint> endpoint_;
    std::unique_ptr<Watchdog> watchdog_;
    DocumentTemplate type_;
    Document document_{type_};
    QWidget* view_ = nullptr;
    ChildFrame* frame_ = nullptr;
    ScopeSession* session_ = nullptr;
    int mixedBlocks_ = 0;
    int distinctBlocks_ = 0;
    int lastCode_ = -1;
    qint64 longestLostMs_ = 0;
    qint64 longestDisconnectMs_ = 0;
};

struct Failure {
    const char* name;
    std::function<void(Endpoint&)> fail;
    std::function<void(Endpoint&)> heal;
    // Every USB packet goes out whole: a reply cut short arrives padded with
    // zeros and reads as the reply it was, so over USB it is no failure.
    bool overUsb = true;
};

zelvo::sim::Faults faults(void (*set)(zelvo::sim::Faults&)) {
    zelvo::sim::Faults f;
    set(f);
    return f;
}

// Failures the instrument's link check sees, on every transport.
const Failure kFailures[] = {
    {"vanishes", [](Endpoint& e) { e.vanish(); }, [](Endpoint& e) { e.comeBack(); }},
    {"goes silent",
     [](Endpoint& e) { e.instrument().setFaults(faults([](auto& f) { f.silent = true; })); },
     [](Endpoint& e) { e.instrument().setFaults({}); }},
    {"answers garbage",
     [](Endpoint& e) {
         e.instrument().setFaults(faults([](auto& f) { f.garbageReplies = true; }));
     },
     [](Endpoint& e) { e.instrument().setFaults({}); }},
    {"cuts its replies short",
     [](Endpoint& e) {
         e.instrument().setFaults(faults([](auto& f) { f.truncatedReplies = true; }));
     },
     [](Endpoint& e) { e.instrument().setFaults({}); }, false},
};

TEST_P(WindowFaults, TheScopeWindowShowsEachFailureAndRecoversWithWholeBlocks) {
    flattenCh1(instrument());
    showScope();
    ASSERT_TRUE(connect()) << messages_.texts().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(blocksArrive());

    for (const Failure& failure : kFailures) {
        if (GetParam() == Transport::Usb && !failure.overUsb) continue;
        SCOPED_TRACE(failure.name);
        // Let an upload start, then fail under it.
        (void)QTest::qWaitFor([&] { return UploadWatch::percent(link()) > 0; }, 300);
        failure.fail(*endpoint_);
        expectLinkLost(failure.name);
        failure.heal(*endpoint_);
        expectRecovery(failure.name);
        EXPECT_TRUE(blocksArrive()) << failure.name;
        std::cout << "[ figures  ] after \"" << failure.name << "\": " << mixedBlocks_
                  << " mixed blocks so far\n";
    }

    // Blocks empty or overlong while the link check still passes: the display
    // keeps whole blocks and takes new ones once the replies are right again.
    // Over USB the surplus packets of an overlong block must not become the
    // start of the next one.
    for (auto set : {+[](zelvo::sim::Faults& f) { f.emptyBlockReplies = true; },
                     +[](zelvo::sim::Faults& f) { f.overlongBlockReplies = true; }}) {
        instrument().setFaults(faults(set));
        QTest::qWait(1000);
        instrument().setFaults({});
        EXPECT_TRUE(blocksArrive());
        std::cout << "[ figures  ] after bad blocks: " << mixedBlocks_ << " mixed blocks so far\n";
    }

    // Disconnect while an exchange waits for a silent instrument, then
    // Connect once it answers.
    const Failure& silent = kFailures[1];
    silent.fail(*endpoint_);
    QTest::qWait(kExchangeUnderWayMs);
    disconnect();
    silent.heal(*endpoint_);
    ASSERT_TRUE(connect()) << messages_.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(blocksArrive());
    disconnect();

    EXPECT_EQ(mixedBlocks_, 0) << "blocks half old and half new";
    std::cout << "[ figures  ] " << distinctBlocks_ << " blocks displayed\n";
}

int linesIn(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? static_cast<int>(f.readAll().count("\r\n")) : -1;
}

TEST_P(WindowFaults, TheMeterWindowShowsEachFailureAndItsLogKeepsEverySampledReading) {
    showMeter();
    auto* meter = static_cast<MeterView*>(view_);
    ASSERT_TRUE(connect()) << messages_.texts().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return meter->data().TrendSize() >= 2; }, kRecoverWithinMs));

    QTemporaryDir folder;
    const QString log = folder.filePath(QStringLiteral("m.doc"));
    meter->controller()->setLogPathChooser([&](QWidget*) { return log; });
    meter->controller()->storageModeButton()->click();
    ASSERT_TRUE(meter->data().Storage());

    for (const Failure& failure : kFailures) {
        if (GetParam() == Transport::Usb && !failure.overUsb) continue;
        SCOPED_TRACE(failure.name);
        const std::size_t before = meter->data().TrendSize();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return meter->data().TrendSize() > before; }, kRecoverWithinMs));
        failure.fail(*endpoint_);
        expectLinkLost(failure.name);
        failure.heal(*endpoint_);
        expectRecovery(failure.name);
        const std::size_t after = meter->data().TrendSize();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return meter->data().TrendSize() > after; }, kRecoverWithinMs))
            << failure.name << ": readings come again";
    }

    // Disconnect while a poll waits for a silent meter.
    kFailures[1].fail(*endpoint_);
    QTest::qWait(kExchangeUnderWayMs);
    disconnect();
    kFailures[1].heal(*endpoint_);
    QTest::qWait(300);
    const int sampled = static_cast<int>(meter->data().TrendSize());
    delete frame_;
    frame_ = nullptr;
    EXPECT_EQ(linesIn(log), sampled) << "the log lost sampled readings";
}

INSTANTIATE_TEST_SUITE_P(Transports, WindowFaults,
                         ::testing::Values(Transport::Udp, Transport::Serial, Transport::Usb),
                         [](const auto& p) { return nameOf(p.param); });

}  // namespace
