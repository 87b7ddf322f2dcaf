// An instrument window shown offscreen, connected over loopback to a
// simulated instrument of its own, as `--connect lan:ADDRESS` would connect
// it.  Include it first: the simulator's headers precede Qt's keyword macros.
#pragma once

#include "loopback.h"

#include <gtest/gtest.h>

#include <QSize>
#include <QString>
#include <QTest>
#include <memory>

#include "device/connect_target.h"
#include "device/instrument_window.h"
#include "device/link_settings.h"
#include "shell/child_frame.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"

namespace oscilane {

// Exchanges over loopback take milliseconds; the limit only guards against a hang.
inline constexpr int kLivePatienceMs = 20000;

template <class View>
class LiveWindow : public ::testing::Test {
  protected:
    using ViewMaker = QWidget* (*)(Document&);
    using FrameMaker = ChildFrame* (*)(Document&, QWidget*);

    // Serves the instrument and shows the window the two makers build.
    void show(ViewMaker makeView, FrameMaker makeFrame, QSize size) {
        server_ = zelvo::sim::serveOnFreeLoopback(instrument_);
        view_ = static_cast<View*>(makeView(document_));
        frame_ = makeFrame(document_, view_);
        frame_->resize(size);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_));
    }
    void TearDown() override { delete frame_; }

    bool connect() {
        QString error;
        const auto s = settingsForConnectTarget(
            QStringLiteral("lan:") + QString::fromStdString(server_->address()), &error);
        return s && InstrumentWindow::of(*view_)->connectTo(*s);
    }
    // What the message boxes said, one per line, for a failed assertion.
    std::string messages() const { return messages_.texts().join(QLatin1Char('\n')).toStdString(); }

    MessageRecorder messages_;
    zelvo::sim::SimulatedInstrument instrument_;
    std::unique_ptr<zelvo::sim::UdpServer> server_;
    DocumentTemplate type_;
    Document document_{type_};
    View* view_ = nullptr;
    ChildFrame* frame_ = nullptr;
};

}  // namespace oscilane
