#include "generator/edit_point_dialog.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "generator/arb_edit.h"
#include "generator/dds_controller.h"
#include "generator/generator_window_texts.h"
#include "model/formatting.h"
#include "shell/number_edit.h"

namespace oscilane {
namespace {

constexpr uint16_t kVoltageDecimals = 3;

QString latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

EditPointDialog::EditPointDialog(GeneratorWave& wave, int index, QWidget* parent)
    : QDialog(parent),
      wave_(wave),
      indexBox_(new QLineEdit(this)),
      spin_(new SpinArrows(this)),
      voltageBox_(new NumberEdit(this)) {
    setWindowTitle(latin(gentext::kEditPointTitle));
    indexBox_->setMaxLength(kIndexCharacters);
    indexBox_->setValidator(new QIntValidator(0, 9999, indexBox_));
    voltageBox_->setDecimals(kVoltageDecimals);
    voltageBox_->setAllowNegative(true);
    auto* update = new QPushButton(latin(gentext::kUpdate), this);
    update->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(latin(gentext::kPointIndex), this), 0, 0);
    grid->addWidget(indexBox_, 0, 1);
    grid->addWidget(spin_, 0, 2);
    grid->addWidget(new QLabel(latin(gentext::kZeroBased), this), 0, 3);
    grid->addWidget(new QLabel(latin(gentext::kVoltage), this), 1, 0);
    grid->addWidget(voltageBox_, 1, 1);
    grid->addWidget(new QLabel(latin(gentext::kVolts), this), 1, 3);
    grid->addWidget(update, 2, 1, 1, 2);

    // The up arrow raises the index.
    connect(spin_, &SpinArrows::changed, this, [this](int change) { spin(-change); });
    connect(indexBox_, &QLineEdit::editingFinished, this, &EditPointDialog::acceptIndex);
    connect(voltageBox_, &QLineEdit::editingFinished, this, &EditPointDialog::acceptVoltage);
    connect(update, &QPushButton::clicked, this, &EditPointDialog::updatePoint);
    showIndex(arb::TypedIndex(wave_, index));
}

void EditPointDialog::showIndex(int index) {
    index_ = index;
    indexBox_->setText(QString::number(index_));
    voltageBox_->setValue(wave_.samples[static_cast<std::size_t>(index_)]);
}

void EditPointDialog::spin(int change) {
    const int next = arb::SpunIndex(wave_, index_, change);
    if (next == index_) return;
    showIndex(next);
    emit indexChanged(index_);
}

void EditPointDialog::acceptIndex() {
    bool number = false;
    const long long typed = indexBox_->text().toLongLong(&number);
    showIndex(number ? arb::TypedIndex(wave_, typed) : index_);
    emit indexChanged(index_);
}

void EditPointDialog::acceptVoltage() {
    float& sample = wave_.samples[static_cast<std::size_t>(index_)];
    const QString number =
        normalisedNumberText(voltageBox_->text(), QString(), kVoltageDecimals, true);
    // The box shows the sample rounded to its decimals; that text unchanged
    // leaves the sample as it is rather than rounding it.  Text that is no
    // number, or a voltage beyond what a sample can hold, changes nothing.
    const QString shown = QString::fromStdString(FixedText(sample, kVoltageDecimals));
    if (!number.isEmpty() && number != shown) {
        if (const std::optional<float> volts = SampleVolts(ParseDecimal(number.toStdString()))) {
            sample = *volts;
            wave_.bufferEdited = true;
        }
    }
    voltageBox_->setValue(sample);
}

void EditPointDialog::updatePoint() {
    acceptVoltage();
    emit pointUpdated();
}

}  // namespace oscilane
