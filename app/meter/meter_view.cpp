#include "meter/meter_view.h"

#include "device/device_link.h"
#include "device/instrument_window.h"
#include "meter/meter_command_ids.h"
#include "meter/meter_commands.h"
#include "meter/meter_report.h"
#include "meter/meter_session.h"
#include "meter/meter_texts.h"
#include "model/meter_controls.h"
#include "model/meter_data.h"
#include "model/meter_log.h"
#include "model/meter_threads.h"
#include "shell/command_ids.h"
#include "shell/message_service.h"
#include "shell/report_commands.h"
#include "shell/window_save.h"
#include "shell/window_tick.h"

namespace oscilane {

MeterView::MeterView(Document& document, CDeviceLink& link, MeterSession& session)
    : document_(document),
      link_(link),
      session_(session),
      display_(new MeterDisplay([this] { return picture(); })),
      controller_(new MeterController(link, session.data())),
      saver_(new WindowSaver(this, {}, [this](const SaveChoice&) { saveData(); })),
      report_(installReportCommands(this, commands(),
                                    [this](QPainter& p, QSize page, const QDateTime& when) {
                                        drawMeterReport(p, page, picture(), when);
                                    })) {
    setWidget(display_);
    setWidgetResizable(true);
    setMinimumSize(200, 150);
    session_.data().Reset();
    threads_ = std::make_unique<MeterThreads>(session_.data());

    commands().on(cmd::kMeterSave, [this] { saver_->run(); });
    for (const cmd::MeterModeCommand& m : cmd::kMeterModeCommands) {
        const MeasureMode mode = m.mode;
        commands().on(
            m.id,
            [this, mode] {
                if (auto c = ModeCommand(data().LastGood(), mode)) link_.Post(queued(*c));
            },
            [this, mode] {
                const bool current = data().HasReading() &&
                                     data().LastGood().measureMode == static_cast<uint8_t>(mode);
                return CommandState{link_.isConnected(), current};
            });
    }

    timer_.setInterval(kWindowTickMs);
    connect(&timer_, &QTimer::timeout, this, &MeterView::tick);
    timer_.start();
}

MeterView::~MeterView() {
    timer_.stop();
    stopThreads();
    // The bar may sit in the frame's dock, which goes after the view.
    if (controller_) delete controller_.data();
}

MeterData& MeterView::data() const { return session_.data(); }

void MeterView::stopThreads() {
    if (threads_) threads_->Stop();
}

void MeterView::tick() {
    if (link_.isConnected()) {
        // Before the first record the bar keeps its look: there is nothing to show.
        if (controller_ && data().HasReading()) controller_->refresh(data().LastGood());
        // The sampling clock stands still while the link is lost.
        if (!link_.linkLost() && threads_) threads_->ClockTick();
    }
    display_->update();
}

MeterPicture MeterView::picture() const {
    MeterPicture p;
    p.record = data().LastGood();
    p.hasReading = data().HasReading();
    p.stale = data().Stale();
    p.connected = link_.isConnected();
    p.linkLost = link_.linkLost();
    p.trend = data().Trend();
    p.logError = data().LastLogError().value_or(std::string());
    return p;
}

void MeterView::saveData() {
    if (data().Storage()) {
        if (threads_) threads_->HandOver();
        return;
    }
    const std::optional<ChosenFile> chosen = saver_->chooseFile(dataFileQuestion());
    if (!chosen) return;
    const QString& path = chosen->path;
    std::optional<std::string> failure;
    if (writesCsv(*chosen)) {
        const std::vector<MeterReading> trend = data().Trend();
        failure = WriteFileWhole(path.toStdString(), CsvText(trend));
    } else if (!data().SaveTrend(path.toStdString())) {
        failure = path.toStdString();
    }
    if (failure)
        showMessage(QString::fromLatin1(metertext::kCannotSaveData) +
                    QString::fromStdString(*failure));
}

void MeterView::disconnected() {
    if (data().Storage() && threads_) threads_->HandOver();
}

QWidget* createMeterView(Document& document) {
    CDeviceLink& link = deviceLinkOf(document);
    MeterSession& session = link.adoptSession(std::make_unique<MeterSession>());
    auto* view = new MeterView(document, link, session);
    auto* window = new InstrumentWindow(*view, view->commands(), document);
    view->commands().on(
        cmd::kDisconnect,
        [view, window] {
            if (window->disconnect()) view->disconnected();
        },
        [&link] {
            return CommandState{link.settings().deviceIndex != kNoDevice && link.isConnected()};
        });
    return view;
}

}  // namespace oscilane
