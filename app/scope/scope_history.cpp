#include "scope/scope_history.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "scope/scope_file_texts.h"

namespace oscilane {

ScopeHistory::ScopeHistory(QWidget* keys, QWidget* parent)
    : QWidget(parent),
      slider_(new QSlider(Qt::Horizontal, this)),
      live_(new QPushButton(QString::fromLatin1(scopefiletext::kLive), this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(slider_, 1);
    row->addWidget(live_);
    slider_->setObjectName(QStringLiteral("historySlider"));
    slider_->setFocusPolicy(Qt::NoFocus);  // the window's keys step, not the slider's
    live_->setObjectName(QStringLiteral("historyLive"));
    live_->setFocusPolicy(Qt::NoFocus);
    live_->setCheckable(true);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!history_.empty()) choose(value);
    });
    connect(live_, &QPushButton::clicked, this, [this] { goLive(); });
    hide();
    keys->installEventFilter(this);
    updateBar();
}

void ScopeHistory::record(const SettingBlock& block) {
    history_.record(block, AcquisitionHistory::Clock::now());
    if (chosen_) followRing();
    if (!isHidden()) updateBar();
}

std::optional<int> ScopeHistory::position() const {
    if (!chosen_) return std::nullopt;
    return history_.positionOf(*chosen_);
}

std::string ScopeHistory::mark() const {
    const std::optional<int> p = position();
    return p ? HistoryMark(*p, history_.time(*p)) : std::string();
}

void ScopeHistory::step(int delta) {
    // Nothing is newer than live.
    if (history_.empty() || (live() && delta > 0)) return;
    const int newest = history_.size() - 1;
    // From live the first step back holds the block on the screen.
    const int from = position().value_or(newest + 1);
    choose(std::clamp(from + delta, 0, newest));
}

void ScopeHistory::choose(int p) {
    if (history_.empty()) return;
    p = std::clamp(p, 0, history_.size() - 1);
    chosen_ = history_.sequenceAt(p);
    if (isHidden()) {
        show();
        emit appeared();
    }
    updateBar();
    emit blockChosen(history_.block(p));
}

void ScopeHistory::goLive() {
    const bool wasLive = live();
    chosen_.reset();
    updateBar();
    if (!wasLive && !history_.empty()) emit blockChosen(history_.block(history_.size() - 1));
}

void ScopeHistory::followRing() {
    // The chosen block was overwritten: the oldest kept one is the nearest.
    if (!history_.positionOf(*chosen_)) {
        chosen_ = history_.oldestSequence();
        emit blockChosen(history_.block(0));
    }
}

void ScopeHistory::updateBar() {
    const QSignalBlocker quiet(slider_);
    const int newest = std::max(history_.size() - 1, 0);
    slider_->setRange(0, newest);
    slider_->setValue(position().value_or(newest));
    live_->setChecked(live());
}

bool ScopeHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    switch (key->key()) {
        case Qt::Key_PageUp:
            step(-1);
            return true;
        case Qt::Key_PageDown:
            step(1);
            return true;
        case Qt::Key_Home:
            showOldest();
            return true;
        case Qt::Key_End:
            goLive();
            return true;
        default:
            return false;
    }
}

}  // namespace oscilane
