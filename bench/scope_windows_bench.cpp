// Sixteen scope windows, each connected in automatic mode to its own
// simulated instrument on its own loopback address, in one offscreen
// process: each window's rate of displayed uploads beside the rate of one
// window alone, the GUI thread's longest stall and the process's CPU share
// of one core.
//
//   scope_windows_bench [seconds with 16 windows, default 20] [solo seconds, default 10]
#include "loopback.h"  // first: the simulator's headers precede Qt's keyword macros

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "device/connect_target.h"
#include "device/instrument_window.h"
#include "scope/scope_view.h"
#include "scope/scope_window.h"
#include "shell/child_frame.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"

using namespace oscilane;

namespace {

struct Window {
    zelvo::sim::SimulatedInstrument instrument;
    std::unique_ptr<zelvo::sim::UdpServer> server;
    DocumentTemplate type;
    std::unique_ptr<Document> document;
    ScopeView* view = nullptr;
    ChildFrame* frame = nullptr;
    int blocks = 0;
};

double cpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Figures {
    std::vector<double> rates;  // displayed uploads per second, by window
    qint64 longestStallMs = 0;
    double cpuShare = 0;  // of one core
};

// Opens n windows, connects them and measures them for the given time.
Figures run(int n, int seconds) {
    std::vector<std::unique_ptr<Window>> windows;
    for (int k = 0; k < n; ++k) {
        auto w = std::make_unique<Window>();
        w->server = zelvo::sim::serveOnFreeLoopback(w->instrument);
        w->document = std::make_unique<Document>(w->type);
        w->view = static_cast<ScopeView*>(createScopeView(*w->document));
        w->frame = createScopeFrame(*w->document, w->view);
        w->frame->resize(900, 600);
        w->frame->show();
        QString error;
        const auto settings = settingsForConnectTarget(
            QStringLiteral("lan:") + QString::fromStdString(w->server->address()), &error);
        if (!settings || !InstrumentWindow::of(*w->view)->connectTo(*settings)) {
            std::fprintf(stderr, "window %d did not connect to %s %s\n", k + 1,
                         w->server->address().c_str(), qUtf8Printable(error));
            std::exit(1);
        }
        Window* raw = w.get();
        QObject::connect(raw->view, &ScopeView::measured, raw->view, [raw] { ++raw->blocks; });
        windows.push_back(std::move(w));
    }
    QTest::qWait(1000);  // first uploads and layouts out of the way

    Figures f;
    QElapsedTimer tick;
    QTimer watchdog;
    watchdog.setInterval(10);
    QObject::connect(&watchdog, &QTimer::timeout,
                     [&] { f.longestStallMs = std::max(f.longestStallMs, tick.restart()); });
    for (auto& w : windows) w->blocks = 0;
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    tick.start();
    watchdog.start();
    QTest::qWait(seconds * 1000);
    watchdog.stop();
    const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
    f.cpuShare = (cpuSeconds() - cpu0) / elapsed;
    for (auto& w : windows) f.rates.push_back(w->blocks / elapsed);

    for (auto& w : windows) {
        delete w->frame;  // disconnects and ends the worker
        w->server.reset();
    }
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("ZELVO_COM1", "/nonexistent/zelvo-com1", 0);
    ::setenv("ZELVO_USB_SIM", "/nonexistent/zelvo-usb", 0);
    QApplication app(argc, argv);
    MessageRecorder messages;  // a failure is told on standard error, never in a box
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int soloSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

    const Figures solo = run(1, soloSeconds);
    const Figures many = run(16, seconds);

    const double soloRate = solo.rates.front();
    std::printf("one window alone, %d s: %.2f uploads/s, longest GUI stall %lld ms, CPU %.1f %%\n",
                soloSeconds, soloRate, static_cast<long long>(solo.longestStallMs),
                solo.cpuShare * 100);
    std::printf("16 windows, %d s:\n", seconds);
    for (std::size_t k = 0; k < many.rates.size(); ++k)
        std::printf("  window %2zu: %.2f uploads/s, ratio to solo %.3f\n", k + 1, many.rates[k],
                    soloRate > 0 ? many.rates[k] / soloRate : 0.0);
    const double worst = *std::min_element(many.rates.begin(), many.rates.end());
    const double worstRatio = soloRate > 0 ? worst / soloRate : 0.0;
    std::printf("worst window: %.2f uploads/s, ratio %.3f (target >= 0.90) %s\n", worst, worstRatio,
                worstRatio >= 0.9 ? "met" : "MISSED");
    std::printf("longest GUI stall: %lld ms (target <= 100 ms) %s\n",
                static_cast<long long>(many.longestStallMs),
                many.longestStallMs <= 100 ? "met" : "MISSED");
    std::printf("process CPU: %.1f %% of one core (one window alone: %.1f %%)\n",
                many.cpuShare * 100, solo.cpuShare * 100);
    for (const QString& text : messages.texts())
        std::fprintf(stderr, "message: %s\n", qUtf8Printable(text));
    return 0;
}
