#include "scope/scope_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_texts.h"
#include "scope/knob.h"
#include "scope/scope_commands.h"
#include "scope/up_down_buttons.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

constexpr uint32_t kShortestPulseWidth = 2;  // 10 ns: a step down stops here
constexpr uint32_t kLongestPulseWidth = 2000000000;
constexpr int kInitialTimeListPosition = 16;

template <std::size_t N>
QComboBox* comboOf(const std::array<const char*, N>& texts, const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    for (const char* t : texts) combo->addItem(QString::fromLatin1(t));
    return combo;
}

template <std::size_t N>
void refill(QComboBox* combo, const std::array<const char*, N>& texts) {
    combo->clear();
    for (const char* t : texts) combo->addItem(QString::fromLatin1(t));
}

// The list position of a block value; none (-1) for a value the list does not hold.
int positionIn(const QComboBox* combo, int64_t value) {
    return value >= 0 && value < combo->count() ? static_cast<int>(value) : -1;
}

QPushButton* button(const char* text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit* readOnlyText(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

}  // namespace

ScopePanel::ScopePanel(const ScopeData& scopeData, CommandSink& commands,
                       const ScopeLinkState& state, QWidget* parent)
    : QWidget(parent), data_(scopeData), commands_(commands), state_(state) {
    setObjectName(QString::fromLatin1(scopetext::kPanelCaption));
    buildControls();
    connectHandlers();
}

void ScopePanel::buildControls() {
    auto* column = new QVBoxLayout(this);
    // The side bar already frames the panel: a narrow outer margin leaves
    // the controls the bar's width.
    column->setContentsMargins(4, 4, 4, 4);

    auto* control = new QGroupBox(QStringLiteral("Control"), this);
    auto* controlGrid = new QGridLayout(control);
    controlGrid->addWidget(button("Run/Stop", "runStop", control), 0, 0);
    controlGrid->addWidget(button("AUTO", "auto", control), 0, 1);
    controlGrid->addWidget(button("DEF", "def", control), 0, 2);
    controlGrid->addWidget(new QLabel(QStringLiteral("Channel :"), control), 1, 0);
    channelList_ = new QListWidget(control);
    channelList_->setObjectName(QStringLiteral("channelList"));
    for (const char* t : scopetext::kChannels) channelList_->addItem(QString::fromLatin1(t));
    channelList_->setCurrentRow(0);
    channelList_->setMaximumHeight(44);
    controlGrid->addWidget(channelList_, 1, 1, 1, 2);
    column->addWidget(control);

    auto* horizontal = new QGroupBox(QStringLiteral("Horizontal"), this);
    auto* hGrid = new QGridLayout(horizontal);
    timeKnob_ = new Knob(KnobRole::TimeBase, data_, commands_, horizontal);
    timeKnob_->setObjectName(QStringLiteral("timeKnob"));
    hGrid->addWidget(timeKnob_, 0, 0, 2, 1);
    hGrid->addWidget(new QLabel(QStringLiteral("Time / DIV"), horizontal), 0, 1);
    timeList_ = comboOf(scopetext::kTimePerDivision, "timeList", horizontal);
    timeList_->setCurrentIndex(kInitialTimeListPosition);
    hGrid->addWidget(timeList_, 1, 1);
    hGrid->addWidget(new QLabel(QStringLiteral("Format"), horizontal), 2, 0);
    formatList_ = comboOf(scopetext::kFormats, "formatList", horizontal);
    hGrid->addWidget(formatList_, 2, 1);
    column->addWidget(horizontal);

    auto* vertical = new QGroupBox(QStringLiteral("Vertical"), this);
    auto* vGrid = new QGridLayout(vertical);
    voltageKnob_ = new Knob(KnobRole::Ch1Volts, data_, commands_, vertical);
    voltageKnob_->setObjectName(QStringLiteral("voltageKnob"));
    vGrid->addWidget(voltageKnob_, 0, 0, 3, 1);
    onOff_ = new QCheckBox(QStringLiteral("ON/OFF"), vertical);
    onOff_->setObjectName(QStringLiteral("onOff"));
    vGrid->addWidget(onOff_, 0, 1, 1, 2);
    voltsText_ = readOnlyText("voltsText", vertical);
    voltsText_->setText(QString::fromLatin1(scopetext::kInitialVolts));
    vGrid->addWidget(voltsText_, 1, 1);
    voltsStep_ = new UpDownButtons(QStringLiteral("volts"), UpDownButtons::Range::Rising, vertical);
    vGrid->addWidget(voltsStep_, 1, 2);
    couplingList_ = comboOf(scopetext::kCouplings, "couplingList", vertical);
    vGrid->addWidget(couplingList_, 2, 1, 1, 2);
    probeList_ = comboOf(scopetext::kProbes, "probeList", vertical);
    vGrid->addWidget(probeList_, 3, 1, 1, 2);
    column->addWidget(vertical);

    auto* trigger = new QGroupBox(QStringLiteral("Trigger"), this);
    auto* tGrid = new QGridLayout(trigger);
    const auto row = [&](int r, const char* label, QWidget* w) {
        tGrid->addWidget(new QLabel(QString::fromLatin1(label), trigger), r, 0);
        tGrid->addWidget(w, r, 1, 1, 2);
    };
    modeList_ = comboOf(scopetext::kTriggerModes, "triggerMode", trigger);
    row(0, "Trigger Mode", modeList_);
    sourceList_ = comboOf(scopetext::kTriggerSources, "triggerSource", trigger);
    row(1, "Trigger Source", sourceList_);
    typeList_ = comboOf(scopetext::kTriggerTypes, "triggerType", trigger);
    typeList_->setEnabled(false);
    row(2, "Trigger Type", typeList_);
    sweepList_ = comboOf(scopetext::kSweeps, "triggerSweep", trigger);
    row(3, "Trigger Sweep", sweepList_);
    slopeLabel_ = new QLabel(QString::fromLatin1(scopetext::kSlopeLabel), trigger);
    slopeLabel_->setObjectName(QStringLiteral("slopeLabel"));
    tGrid->addWidget(slopeLabel_, 4, 0);
    slopeList_ = comboOf(scopetext::kSlopes, "slopeList", trigger);
    tGrid->addWidget(slopeList_, 4, 1, 1, 2);
    pulseWidthLabel_ = new QLabel(QStringLiteral("Pulse Width"), trigger);
    tGrid->addWidget(pulseWidthLabel_, 5, 0);
    pulseWidthText_ = readOnlyText("pulseWidthText", trigger);
    tGrid->addWidget(pulseWidthText_, 5, 1);
    pulseWidthStep_ =
        new UpDownButtons(QStringLiteral("pulseWidth"), UpDownButtons::Range::Falling, trigger);
    tGrid->addWidget(pulseWidthStep_, 5, 2);
    column->addWidget(trigger);
    column->addStretch();

    slopeContent_ = SlopeContent::Edge;
    pulseWidthLabel_->hide();
    pulseWidthText_->hide();
    pulseWidthStep_->hide();
}

void ScopePanel::post(QueuedCommand command) { commands_.Post(command); }

void ScopePanel::connectHandlers() {
    const auto clicked = [this](const char* name, auto handler) {
        connect(findChild<QPushButton*>(QLatin1String(name)), &QPushButton::clicked, this, handler);
    };
    clicked("runStop", [this] { post(scope_command::runStop()); });
    clicked("auto", [this] { post(scope_command::autoSetup()); });
    clicked("def", [this] {
        if (askOkCancel(QString::fromLatin1(scopetext::kLoadDefaultQuestion)))
            post(scope_command::defaultSetup());
    });
    connect(channelList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) selectChannel(row);
    });
    connect(channelList_, &QListWidget::itemDoubleClicked, this,
            [this] { post(scope_command::reset(scopeChannel(channel_))); });
    const auto activated = [this](QComboBox* combo, auto handler) {
        connect(combo, &QComboBox::activated, this, handler);
    };
    activated(timeList_, [this](int p) {
        const int index = p + scopetext::kTimeListIndexOffset;
        const TriggerRecord record = settings().altTrigger()
                                         ? altRecord(oscilane::altChannel(altChannel_))
                                         : TriggerRecord::Main;
        post(scope_command::timeBase(record, index));
    });
    activated(formatList_,
              [this](int p) { post(scope_command::format(static_cast<DisplayFormat>(p))); });
    activated(modeList_,
              [this](int p) { post(scope_command::triggerMode(static_cast<TriggerMode>(p))); });
    activated(sourceList_, [this](int p) {
        if (settings().altTrigger()) {
            // The ALT channel decides what the type, slope and time-base controls show.
            altChannel_ = p;
            timeKnob_->setAltChannel(p);
            cache_.altType = cache_.slope = cache_.pulseWidth = cache_.timeBase = kRefreshNext;
        }
        post(scope_command::triggerSource(p));
    });
    activated(typeList_, [this](int p) {
        post(
            scope_command::altType(oscilane::altChannel(altChannel_), static_cast<TriggerMode>(p)));
    });
    activated(sweepList_, [this](int p) { post(scope_command::triggerSweep(p)); });
    activated(slopeList_, [this](int p) {
        const ScopeSettings s = settings();
        const bool pulse = pulseTrigger(s);
        const TriggerRecord record =
            s.altTrigger() ? altRecord(oscilane::altChannel(altChannel_)) : TriggerRecord::Main;
        post(pulse ? scope_command::pulseCondition(record, p)
                   : scope_command::edgeSlope(record, p));
    });
    connect(onOff_, &QCheckBox::clicked, this,
            [this](bool on) { post(scope_command::shown(scopeChannel(channel_), on)); });
    connect(voltsStep_, &UpDownButtons::stepped, this, [this](int delta) {
        post(scope_command::voltsStep(scopeChannel(channel_), delta > 0));
    });
    activated(couplingList_,
              [this](int p) { post(scope_command::coupling(scopeChannel(channel_), p)); });
    activated(probeList_, [this](int p) { post(scope_command::probe(scopeChannel(channel_), p)); });
    connect(pulseWidthStep_, &UpDownButtons::stepped, this, &ScopePanel::stepPulseWidth);
}

void ScopePanel::selectChannel(int channel) {
    channel_ = channel;
    cache_.shown = cache_.voltsValue = cache_.coupling = cache_.probe = kRefreshNext;
    voltageKnob_->setRole(channel == kCh1 ? KnobRole::Ch1Volts : KnobRole::Ch2Volts);
}

bool ScopePanel::pulseTrigger(const ScopeSettings& s) const {
    if (s.altTrigger()) return s.altType(altChannel_) == static_cast<int>(TriggerMode::Pulse);
    return s.triggerModeValue() == static_cast<int>(TriggerMode::Pulse);
}

uint32_t ScopePanel::pulseWidth(const ScopeSettings& s) const {
    return s.altTrigger() ? s.altPulseWidth5ns(altChannel_) : s.pulseWidth5ns();
}

void ScopePanel::stepPulseWidth(int delta) {
    const ScopeSettings s = settings();
    if (!pulseTrigger(s)) return;
    const uint32_t width = pulseWidth(s);
    uint32_t next = 0;
    // A step of +1 shortens the width; the control's falling range makes
    // that its down arrow, so the up arrow lengthens.
    if (delta > 0 && width > kShortestPulseWidth)
        next = width - data_.pulseWidthStep;
    else if (delta < 0 && width < kLongestPulseWidth)
        next = width + 1;
    else
        return;
    const TriggerRecord record =
        s.altTrigger() ? altRecord(oscilane::altChannel(altChannel_)) : TriggerRecord::Main;
    post(scope_command::pulseWidth(record, next));
}

bool ScopePanel::changed(int64_t& cached, int64_t value) {
    if (cached == value) return false;
    cached = value;
    return true;
}

void ScopePanel::showSlopeContent(SlopeContent content) {
    if (content == slopeContent_) return;
    slopeContent_ = content;
    const bool pulse = content == SlopeContent::Pulse;
    if (pulse)
        refill(slopeList_, scopetext::kConditions);
    else
        refill(slopeList_, scopetext::kSlopes);
    slopeLabel_->setText(
        QString::fromLatin1(pulse ? scopetext::kConditionLabel : scopetext::kSlopeLabel));
    pulseWidthLabel_->setVisible(pulse);
    pulseWidthText_->setVisible(pulse);
    pulseWidthStep_->setVisible(pulse);
    cache_.slope = cache_.pulseWidth = kRefreshNext;
}

void ScopePanel::refresh() {
    if (!state_.connected()) return;
    const ScopeSettings s = settings();
    refreshChannel(s);
    // In ALT mode the list shows the time base it sets: the ALT channel's.
    const int timeBase = s.timeBaseOf(altChannel_);
    if (changed(cache_.timeBase, timeBase)) {
        timeList_->setCurrentIndex(TimeListPosition(timeBase));
        timeKnob_->update();
    }
    if (changed(cache_.format, s.formatValue()))
        formatList_->setCurrentIndex(positionIn(formatList_, s.formatValue()));
    refreshTrigger(s);
}

void ScopePanel::refreshChannel(const ScopeSettings& s) {
    const int c = channel_;
    if (changed(cache_.shown, s.shown(c))) onOff_->setChecked(s.shown(c));
    const bool voltsChanged = changed(cache_.voltsValue, s.voltsValue10uV(c));
    if (changed(cache_.probeOfVolts, s.probe(c)) || voltsChanged) {
        voltsText_->setText(QString::fromStdString(
            VoltText(s.voltsValue10uV(c) * 0.01, static_cast<uint16_t>(s.probe(c)))));
        voltageKnob_->update();
    }
    if (changed(cache_.coupling, s.coupling(c)))
        couplingList_->setCurrentIndex(positionIn(couplingList_, s.coupling(c)));
    if (changed(cache_.probe, s.probe(c)))
        probeList_->setCurrentIndex(positionIn(probeList_, s.probe(c)));
}

void ScopePanel::refreshTrigger(const ScopeSettings& s) {
    const int mode = s.triggerModeValue();
    const bool alt = s.altTrigger();
    if (changed(cache_.mode, mode)) {
        typeList_->setEnabled(alt);
        if (alt) {
            refill(sourceList_, scopetext::kTriggerSources);
            sourceList_->setCurrentIndex(altChannel_);
            cache_.altType = kRefreshNext;
        }
        cache_.source = cache_.sweep = cache_.slope = cache_.pulseWidth = kRefreshNext;
        modeList_->setCurrentIndex(positionIn(modeList_, mode));
    }
    if (alt) {
        if (changed(cache_.altType, s.altType(altChannel_)))
            typeList_->setCurrentIndex(positionIn(typeList_, s.altType(altChannel_)));
    } else {
        if (changed(cache_.source, s.triggerSource()))
            sourceList_->setCurrentIndex(positionIn(sourceList_, s.triggerSource()));
        if (changed(cache_.sweep, s.sweep()))
            sweepList_->setCurrentIndex(positionIn(sweepList_, s.sweep()));
    }
    const bool pulse = pulseTrigger(s);
    showSlopeContent(pulse ? SlopeContent::Pulse : SlopeContent::Edge);
    const int slope = alt ? (pulse ? s.altPulseCondition(altChannel_) : s.altEdgeSlope(altChannel_))
                          : (pulse ? s.pulseCondition() : s.edgeSlope());
    if (changed(cache_.slope, slope)) slopeList_->setCurrentIndex(positionIn(slopeList_, slope));
    if (pulse && changed(cache_.pulseWidth, pulseWidth(s)))
        pulseWidthText_->setText(QString::fromStdString(TimeText(pulseWidth(s) * 5.0)));
}

}  // namespace oscilane
