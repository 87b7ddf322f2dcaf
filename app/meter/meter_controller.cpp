#include "meter/meter_controller.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "device/command_sink.h"
#include "meter/meter_commands.h"
#include "meter/meter_texts.h"
#include "model/meter_controls.h"
#include "model/meter_data.h"
#include "model/meter_tables.h"

namespace oscilane {
namespace {

QString askLogPath(QWidget* parent) {
    QFileDialog dialog(parent, QString::fromLatin1(metertext::kLogDialogTitle));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QString::fromLatin1(metertext::kLogDialogFilter));
    dialog.setDefaultSuffix(QString::fromLatin1(metertext::kLogDialogSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MeterController::MeterController(CommandSink& sink, MeterData& meterData, QWidget* parent)
    : QWidget(parent),
      sink_(sink),
      data_(meterData),
      chooseLogPath_(askLogPath),
      acDc_(new QPushButton(QString::fromLatin1(metertext::kDc), this)),
      autoManual_(new QPushButton(QString::fromLatin1(metertext::kAuto), this)),
      rel_(new QPushButton(QString::fromLatin1(metertext::kRel), this)),
      milliamps_(new QPushButton(QStringLiteral("mA"), this)),
      range_(new QComboBox(this)),
      time_(new QComboBox(this)),
      bufferMode_(new QRadioButton(QString::fromLatin1(metertext::kBufferMode), this)),
      storageMode_(new QRadioButton(QString::fromLatin1(metertext::kStorageMode), this)),
      path_(new QLineEdit(this)) {
    setWindowTitle(QString::fromLatin1(metertext::kControllerCaption));
    auto* layout = new QGridLayout(this);
    layout->addWidget(acDc_, 0, 0);
    layout->addWidget(autoManual_, 0, 1);
    layout->addWidget(rel_, 1, 0);
    layout->addWidget(milliamps_, 1, 1);
    layout->addWidget(new QLabel(QString::fromLatin1(metertext::kRangeLabel), this), 2, 0);
    layout->addWidget(range_, 2, 1);
    layout->addWidget(new QLabel(QString::fromLatin1(metertext::kTimeLabel), this), 3, 0);
    layout->addWidget(time_, 3, 1);
    layout->addWidget(bufferMode_, 4, 0, 1, 2);
    layout->addWidget(storageMode_, 5, 0, 1, 2);
    layout->addWidget(path_, 6, 0, 1, 2);
    layout->setRowStretch(7, 1);

    for (const RecordDuration& d : kRecordDurations) time_->addItem(utf8(d.label));
    time_->setCurrentIndex(data_.DurationIndex());
    path_->setEnabled(false);
    path_->setText(QString::fromStdString(data_.LogPath()));
    auto* modes = new QButtonGroup(this);
    modes->addButton(bufferMode_);
    modes->addButton(storageMode_);
    (data_.Storage() ? storageMode_ : bufferMode_)->setChecked(true);
    range_->setVisible(false);

    connect(acDc_, &QPushButton::clicked, this, [this] {
        if (auto c = AcDcCommand(reported_)) post(*c);
    });
    connect(autoManual_, &QPushButton::clicked, this, [this] {
        if (auto c = AutoManualCommand(reported_)) post(*c);
    });
    connect(rel_, &QPushButton::clicked, this, [this] {
        if (auto c = RelCommand(reported_)) post(*c);
    });
    connect(milliamps_, &QPushButton::clicked, this, [this] { post(MilliampsCommand(reported_)); });
    connect(range_, &QComboBox::activated, this, &MeterController::rangePicked);
    connect(time_, &QComboBox::activated, this, [this](int index) {
        if (data_.SetDuration(index)) data_.Reset();
    });
    connect(storageMode_, &QRadioButton::clicked, this, &MeterController::chooseStorage);
    connect(bufferMode_, &QRadioButton::clicked, this, &MeterController::chooseBuffer);
}

void MeterController::post(const MeterCommand& command) { sink_.Post(queued(command)); }

void MeterController::rangePicked(int index) {
    if (auto c = RangeCommand(reported_, index)) post(*c);
}

void MeterController::chooseStorage() {
    if (data_.Storage()) return;
    const QString path = chooseLogPath_ ? chooseLogPath_(this) : QString();
    if (path.isEmpty()) {
        bufferMode_->setChecked(true);
        return;
    }
    data_.SetLogPath(path.toStdString());
    path_->setText(path);
    data_.SetStorage(true);
}

void MeterController::chooseBuffer() {
    // Leaving storage mode hands what was sampled for the log to its writer.
    if (data_.Storage()) data_.SetStorage(false);
}

void MeterController::refresh(const DmmInfo& reported) {
    reported_ = reported;
    const ControllerBarView view = ControllerBarFor(reported);

    if (view.ranges != shownRanges_) {
        const QSignalBlocker quiet(range_);
        range_->clear();
        for (std::string_view label : view.ranges) range_->addItem(utf8(label));
        shownRanges_ = view.ranges;
    }
    // The list follows what the meter reports, so a range the meter
    // refused snaps back on the next refresh.
    if (range_->currentIndex() != view.rangeSelection && !range_->view()->isVisible()) {
        const QSignalBlocker quiet(range_);
        range_->setCurrentIndex(view.rangeSelection);
    }
    range_->setVisible(view.rangeListVisible);

    acDc_->setVisible(view.acDcVisible);
    if (view.acDcVisible) acDc_->setText(utf8(view.acDcCaption));
    autoManual_->setVisible(view.autoManualVisible);
    if (view.autoManualVisible) autoManual_->setText(utf8(view.autoManualCaption));
    milliamps_->setVisible(view.milliampsVisible);
    if (view.milliampsVisible) milliamps_->setText(utf8(view.milliampsCaption));
    rel_->setVisible(view.relVisible);

    // The storage radio buttons follow the model too: the window's Save or
    // another path may have changed the mode.
    (data_.Storage() ? storageMode_ : bufferMode_)->setChecked(true);
    if (time_->currentIndex() != data_.DurationIndex())
        time_->setCurrentIndex(data_.DurationIndex());
}

}  // namespace oscilane
