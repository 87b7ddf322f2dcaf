#include "scope/scope_view.h"

#include "scope/acquire_progress_box.h"
#include "scope/scope_history.h"
#include "scope/scope_panel.h"
#include "scope/scope_screen.h"
#include "shell/window_tick.h"

namespace oscilane {

ScopeView::ScopeView(Document& document, ScopeLink link)
    : document_(document),
      link_(link),
      screen_(new ScopeScreen(link.data, link.state, link.commands)),
      panel_(new ScopePanel(link.data, link.commands, link.state, this)),
      progress_(new AcquireProgressBox(this)),
      history_(new ScopeHistory(this, this)) {
    panel_->hide();
    screen_->setMinimumSize(kMinimumDisplay);
    setWidget(screen_);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    connect(history_, &ScopeHistory::blockChosen, this, &ScopeView::display);
    connect(history_, &ScopeHistory::appeared, this, &ScopeView::placeHistoryBar);
    timer_.setInterval(kWindowTickMs);
    connect(&timer_, &QTimer::timeout, this, &ScopeView::tick);
    timer_.start();
}

ScopeView::~ScopeView() = default;

void ScopeView::tick() {
    if (firstLayout_) {
        firstLayout_ = false;
        screen_->setMargins(50, 50, 120, 50);
        screen_->setBestFit(true);
    }
    // A busy event leaves the new-data flag set, so the upload is copied at
    // a later tick rather than skipped (a single upload would be lost).
    if (link_.state.newData() && link_.event.tryTake()) {
        // While a past block is shown the new one only joins the history
        // (which may move the shown one when it overwrites it).
        const bool live = history_->live();
        history_->record(link_.data.uploadedBlock);
        if (live) {
            link_.data.displayedBlock = link_.data.uploadedBlock;
            if (panel_) panel_->refresh();
            measurements_.compute(link_.data.displayedBlock);
            measureStatistics_.addFrame(measurements_);
        }
        link_.event.set();
        link_.state.clearNewData();
        if (live) {
            showMeasurements();
            emit measured();
        } else {
            screen_->setStatusMark(QString::fromStdString(history_->mark()));
        }
    }
    if (link_.state.slowUpload()) {
        link_.state.watchSlowUpload();
        if (progress_->isHidden()) progress_->show();
        progress_->setPercent(link_.state.uploadPercent());
        const QPoint centre = mapToGlobal(rect().center());
        progress_->move(centre - QPoint(progress_->width() / 2, progress_->height() / 2));
    } else if (!progress_->isHidden()) {
        progress_->hide();
    }
    screen_->refresh();
}

void ScopeView::display(const SettingBlock& block) {
    link_.data.displayedBlock = block;
    if (panel_) panel_->refresh();
    // A past block is measured, but only live frames count in the statistics.
    measurements_.compute(link_.data.displayedBlock);
    showMeasurements();
    screen_->setStatusMark(QString::fromStdString(history_->mark()));
    screen_->changed();
    emit measured();
}

void ScopeView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    placeHistoryBar();
}

void ScopeView::placeHistoryBar() {
    const int height = history_->isHidden() ? 0 : history_->sizeHint().height();
    setViewportMargins(0, 0, 0, height);
    const QRect inside = contentsRect();
    history_->setGeometry(inside.left(), inside.bottom() + 1 - height, inside.width(), height);
}

void ScopeView::showMeasurements() {
    std::array<MeasurementText, kMeasurementSlots> texts;
    for (int k = 0; k < kMeasurementSlots; ++k) {
        const MeasureSlot& slot = measurements_.slot(k);
        MeasurementText& t = texts[static_cast<std::size_t>(k)];
        t.enabled = slot.enabled && k < measurements_.activeCount();
        t.channel = slot.channel;
        t.overlay = slot.overlay;
        t.text = QString::fromStdString(measurements_.text(k));
    }
    screen_->setMeasurementTexts(texts);
}

}  // namespace oscilane
