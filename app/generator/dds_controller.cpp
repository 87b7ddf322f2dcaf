#include "generator/dds_controller.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "generator/generator_window_texts.h"
#include "model/formatting.h"
#include "shell/message_service.h"
#include "shell/number_edit.h"

namespace oscilane {
namespace {

constexpr uint16_t kBoxDecimals = 3;

enum Column { kLabelColumn, kEditColumn, kSpinColumn, kUnitColumn };

QString latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

SpinArrows::SpinArrows(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(16, 11);
        column->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { emit changed(-1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit changed(+1); });
}

DdsController::DdsController(GeneratorWave& wave, CommandSink& commands,
                             std::function<bool()> connected, QWidget* parent)
    : QWidget(parent), wave_(wave), commands_(commands), connected_(std::move(connected)) {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(4);
    offsetSpin_ = new SpinArrows(this);
    phaseSpin_ = new SpinArrows(this);

    addEditRow(GeneratorBox::Frequency, gentext::kFrequency, gentext::kFrequencyUnit, false);
    addEditRow(GeneratorBox::Amplitude, gentext::kAmplitude, gentext::kAmplitudeUnit, false);
    addEditRow(GeneratorBox::Offset, gentext::kOffset, gentext::kOffsetUnit, true, offsetSpin_);
    addEditRow(GeneratorBox::Phase, gentext::kPhase, gentext::kFractionRange, false, phaseSpin_);
    addEditRow(GeneratorBox::Duty, gentext::kDuty, gentext::kFractionRange, false);
    addEditRow(GeneratorBox::RiseDuty, gentext::kRiseDuty, nullptr, false);
    addEditRow(GeneratorBox::HighDuty, gentext::kHighDuty, nullptr, false);
    addEditRow(GeneratorBox::FallDuty, gentext::kFallDuty, nullptr, false);
    rise_ = addCheckRow(GeneratorBox::RiseFlag, gentext::kRise);
    addEditRow(GeneratorBox::Tau, gentext::kTau, gentext::kSeconds, false);
    addEditRow(GeneratorBox::HighFrequency, gentext::kHighFrequency, gentext::kHertz, false);
    addEditRow(GeneratorBox::Depth, gentext::kDepth, nullptr, false);
    fm_ = addCheckRow(GeneratorBox::FmFlag, gentext::kFm);
    addEditRow(GeneratorBox::MaximumFrequency, gentext::kMaximumFrequency, gentext::kHertz, false);

    syncOut_ = new QCheckBox(latin(gentext::kSyncOut), this);
    powerOn_ = new QCheckBox(latin(gentext::kPowerOn), this);
    grid->addWidget(syncOut_, nextRow_++, kLabelColumn, 1, 2);
    grid->addWidget(powerOn_, nextRow_++, kLabelColumn, 1, 2);
    grid->setRowStretch(nextRow_, 1);

    connect(offsetSpin_, &SpinArrows::changed, this, &DdsController::spinOffset);
    connect(phaseSpin_, &SpinArrows::changed, this, &DdsController::spinPhase);
    connect(rise_, &QCheckBox::clicked, this,
            [this](bool on) { checkBoxClicked(GeneratorBox::RiseFlag, on); });
    connect(fm_, &QCheckBox::clicked, this,
            [this](bool on) { checkBoxClicked(GeneratorBox::FmFlag, on); });
    connect(syncOut_, &QCheckBox::clicked, this, [this](bool on) {
        wave_.syncOut = on ? 1 : 0;
        post(GeneratorCommandKind::SyncOut, on);
    });
    connect(powerOn_, &QCheckBox::clicked, this, [this](bool on) {
        wave_.powerOn = on ? 1 : 0;
        post(GeneratorCommandKind::PowerOn, on);
    });
    load();
    arrange();
}

NumberEdit* DdsController::addEditRow(GeneratorBox box, const char* label, const char* unit,
                                      bool allowNegative, SpinArrows* spin) {
    auto* grid = static_cast<QGridLayout*>(layout());
    Row row;
    auto* name = new QLabel(latin(label), this);
    row.edit = new NumberEdit(this);
    row.edit->setDecimals(kBoxDecimals);
    row.edit->setAllowNegative(allowNegative);
    row.edit->setMinimumWidth(row.edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 14);
    grid->addWidget(name, nextRow_, kLabelColumn);
    grid->addWidget(row.edit, nextRow_, kEditColumn);
    row.widgets = {name, row.edit};
    if (spin) {
        grid->addWidget(spin, nextRow_, kSpinColumn);
        row.widgets.append(spin);
    }
    if (unit) {
        auto* after = new QLabel(latin(unit), this);
        grid->addWidget(after, nextRow_, kUnitColumn);
        row.widgets.append(after);
    }
    ++nextRow_;
    connect(row.edit, &QLineEdit::editingFinished, this, [this, box] { acceptBox(box); });
    NumberEdit* edit = row.edit;
    rows_[box] = std::move(row);
    return edit;
}

QCheckBox* DdsController::addCheckRow(GeneratorBox box, const char* label) {
    auto* check = new QCheckBox(latin(label), this);
    static_cast<QGridLayout*>(layout())->addWidget(check, nextRow_++, kEditColumn);
    rows_[box] = Row{{check}, nullptr};
    return check;
}

NumberEdit* DdsController::edit(GeneratorBox box) const {
    const auto found = rows_.find(box);
    return found == rows_.end() ? nullptr : found->second.edit;
}

bool DdsController::rowShown(GeneratorBox box) const {
    const auto found = rows_.find(box);
    return found != rows_.end() && !found->second.widgets.front()->isHidden();
}

void DdsController::load() {
    const auto show = [this](GeneratorBox box, double value) { edit(box)->setValue(value); };
    show(GeneratorBox::Frequency, wave_.frequency);
    show(GeneratorBox::Amplitude, wave_.amplitude);
    show(GeneratorBox::Offset, wave_.offset);
    show(GeneratorBox::Phase, wave_.phase);
    show(GeneratorBox::Duty,
         wave_.waveType == WaveType::Square ? wave_.squareDuty : wave_.rampDuty);
    show(GeneratorBox::RiseDuty, wave_.riseDuty);
    show(GeneratorBox::HighDuty, wave_.highDuty);
    show(GeneratorBox::FallDuty, wave_.fallDuty);
    show(GeneratorBox::Tau, wave_.tau);
    show(GeneratorBox::HighFrequency, wave_.highFrequency);
    show(GeneratorBox::Depth, wave_.depth);
    show(GeneratorBox::MaximumFrequency, wave_.maximumFrequency);
    rise_->setChecked(wave_.riseFlag != 0);
    fm_->setChecked(wave_.fmFlag != 0);
    syncOut_->setChecked(wave_.syncOut != 0);
    powerOn_->setChecked(wave_.powerOn != 0);
}

void DdsController::arrange() {
    const GeneratorBoxes shown = BoxesForType(wave_.waveType);
    for (auto& [box, row] : rows_)
        for (QWidget* w : row.widgets) w->setHidden(!shown.contains(box));
    // The one Duty box serves the ramp and the square.
    if (wave_.waveType == WaveType::Ramp) edit(GeneratorBox::Duty)->setValue(wave_.rampDuty);
    if (wave_.waveType == WaveType::Square) edit(GeneratorBox::Duty)->setValue(wave_.squareDuty);
}

bool DdsController::chooseType(WaveType type) {
    if (type == wave_.waveType) return false;
    if (type == WaveType::Arbitrary) {
        if (mayReplaceBuffer()) switchToArbitrary(EditedBuffer::Discard);
        return true;
    }
    if (connected_ && connected_()) post(GeneratorCommandKind::Changed);
    wave_.waveType = type;
    arrange();
    emit waveChanged();
    return true;
}

bool DdsController::mayReplaceBuffer() {
    if (!wave_.bufferEdited || askYesNo(latin(gentext::kDiscardEdits))) return true;
    switchToArbitrary(EditedBuffer::Keep);
    return false;
}

void DdsController::switchToArbitrary(EditedBuffer edits) {
    const ArbitrarySwitch change = SwitchToArbitrary(wave_, edits);
    if (!change.switched) return;
    if (change.frequencyLimited) {
        edit(GeneratorBox::Frequency)->setValue(wave_.frequency);
        post(GeneratorCommandKind::Frequency);
    }
    arrange();
    emit waveChanged();
}

void DdsController::acceptBox(GeneratorBox box) {
    NumberEdit* e = edit(box);
    if (!e) return;
    // Text that is not a plain number changes nothing; the box shows the
    // last value it took.
    const QString number =
        normalisedNumberText(e->text(), QString(), kBoxDecimals, box == GeneratorBox::Offset);
    if (number.isEmpty()) {
        e->setText(e->lastAccepted());
        return;
    }
    const double shown = AcceptBoxValue(wave_, box, ParseDecimal(number.toStdString()));
    e->setValue(shown);
    if (box == GeneratorBox::Frequency) post(GeneratorCommandKind::Frequency);
    post(GeneratorCommandKind::Changed);
    emit waveChanged();
}

void DdsController::spinOffset(int change) {
    wave_.offset = OffsetAfterSpin(wave_.offset, change);
    edit(GeneratorBox::Offset)->setValue(wave_.offset);
    post(GeneratorCommandKind::Changed);
    emit waveChanged();
}

void DdsController::spinPhase(int change) {
    wave_.phase = static_cast<float>(PhaseAfterSpin(wave_.phase, change));
    edit(GeneratorBox::Phase)->setValue(wave_.phase);
    post(GeneratorCommandKind::Changed);
    emit waveChanged();
}

void DdsController::checkBoxClicked(GeneratorBox box, bool on) {
    if (box == GeneratorBox::RiseFlag) wave_.riseFlag = on ? 1 : 0;
    if (box == GeneratorBox::FmFlag) wave_.fmFlag = on ? 1 : 0;
    post(GeneratorCommandKind::Changed);
    emit waveChanged();
}

void DdsController::post(GeneratorCommandKind kind, bool state) {
    commands_.Post(generatorCommand(kind, state));
}

}  // namespace oscilane
