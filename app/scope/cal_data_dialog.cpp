#include "scope/cal_data_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <limits>

#include "model/scope_tool_texts.h"
#include "scope/scope_commands.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

constexpr uint32_t kTdcMax = 0xFFFF;

QString text(const char* s) { return QString::fromLatin1(s); }

// "0" .. "10", then "-1" .. "-10".
QStringList waveOffsetTexts() {
    QStringList texts;
    for (int k = 0; k < tooltext::kWaveOffsetCount; ++k)
        texts << QString::number(k <= 10 ? k : 10 - k);
    return texts;
}

}  // namespace

const char* etsButtonText(uint32_t state) {
    if (state == 0) return tooltext::kEtsOff;
    if (state == 1) return tooltext::kEtsOn;
    return tooltext::kEtsUnknown;
}

CalDataDialog::CalDataDialog(ScopeLink link, QWidget* parent)
    : QDialog(parent),
      link_(link),
      maxEdit_(new QLineEdit(this)),
      minEdit_(new QLineEdit(this)),
      maxValue_(new QLabel(this)),
      minValue_(new QLabel(this)),
      maxOk_(new QPushButton(text(tooltext::kOk), this)),
      minOk_(new QPushButton(text(tooltext::kOk), this)),
      update_(new QPushButton(text(tooltext::kEtsUnknown), this)) {
    setWindowTitle(text(tooltext::kCalTitle));
    link_.data.tdcReadEnable = 1;

    auto* wave = new QGroupBox(text(tooltext::kWaveCalGroup), this);
    auto* waveLayout = new QGridLayout(wave);
    const QStringList offsets = waveOffsetTexts();
    std::array<uint32_t, 4> stored{};
    std::array<uint32_t, 2> read{};
    // Before the first upload the worker may still be at it; the edits
    // then start empty and the displays fill at a later tick.
    const bool got = link_.event.tryTake();
    if (got) {
        stored = link_.data.waveCalibration;
        read = link_.data.tdcReadValues;
        link_.event.set();
    }
    for (std::size_t g = 0; g < waveLists_.size(); ++g) {
        auto* list = new QComboBox(wave);
        list->setObjectName(QStringLiteral("waveCal%1").arg(g));
        list->addItems(offsets);
        list->setCurrentIndex(got && stored[g] < offsets.size() ? static_cast<int>(stored[g]) : -1);
        waveLayout->addWidget(new QLabel(text(tooltext::kRangeGroups[g]), wave),
                              static_cast<int>(g), 0);
        waveLayout->addWidget(list, static_cast<int>(g), 1);
        connect(list, &QComboBox::activated, this, [this, g](int index) {
            underEvent([this, g, index] {
                link_.data.waveCalibration[g] = static_cast<uint32_t>(index);
                link_.commands.Post(scope_command::writeWaveCalibration());
            });
        });
        waveLists_[g] = list;
    }

    auto* ets = new QGroupBox(text(tooltext::kEtsCalGroup), this);
    auto* etsLayout = new QGridLayout(ets);
    const auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    int row = 0;
    for (auto [label, value, edit, ok] :
         {std::tuple{tooltext::kMaxCalData, maxValue_, maxEdit_, maxOk_},
          std::tuple{tooltext::kMinCalData, minValue_, minEdit_, minOk_}}) {
        edit->setMaxLength(kEditLength);
        edit->setValidator(digits);
        etsLayout->addWidget(new QLabel(text(label), ets), row, 0);
        etsLayout->addWidget(value, row, 1);
        etsLayout->addWidget(edit, row, 2);
        etsLayout->addWidget(ok, row, 3);
        ++row;
    }
    etsLayout->addWidget(update_, row, 0, 1, 4);
    maxValue_->setObjectName(QStringLiteral("maxValue"));
    minValue_->setObjectName(QStringLiteral("minValue"));
    maxEdit_->setObjectName(QStringLiteral("maxEdit"));
    minEdit_->setObjectName(QStringLiteral("minEdit"));
    update_->setObjectName(QStringLiteral("etsUpdate"));
    // The write value "Max" goes out as the instrument's high half, "Min" as
    // its low half; a read returns them as low, high.
    if (got) {
        maxEdit_->setText(QString::number(read[1]));
        minEdit_->setText(QString::number(read[0]));
    }
    connect(maxOk_, &QPushButton::clicked, this, [this] { writeTdc(true); });
    connect(minOk_, &QPushButton::clicked, this, [this] { writeTdc(false); });
    connect(update_, &QPushButton::clicked, this,
            [this] { link_.commands.Post(scope_command::etsToggle()); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wave);
    layout->addWidget(ets);
    layout->addWidget(buttons);
    // The TDC reads stop as soon as the dialog closes, not only when it goes.
    connect(this, &QDialog::finished, this, [this] { link_.data.tdcReadEnable = 0; });

    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &CalDataDialog::refresh);
    timer_.start();
    refresh();
}

CalDataDialog::~CalDataDialog() { link_.data.tdcReadEnable = 0; }

void CalDataDialog::underEvent(std::function<void()> write) {
    pending_.push_back(std::move(write));
    refresh();
}

void CalDataDialog::writeTdc(bool fromMax) {
    const uint64_t high = maxEdit_->text().toULongLong();
    const uint64_t low = minEdit_->text().toULongLong();
    // The two values share one 32-bit word on the way: a larger one would
    // spill into the other.
    if (high > kTdcMax || low > kTdcMax) {
        showMessage(text(tooltext::kTdcOutOfRange));
        return;
    }
    const auto max = static_cast<uint32_t>(high);
    const auto min = static_cast<uint32_t>(low);
    underEvent([this, max, min, fromMax] {
        link_.data.tdcWriteValues = {max, min};
        link_.commands.Post(scope_command::writeTdc(fromMax ? max : min));
    });
}

void CalDataDialog::refresh() {
    if (!link_.event.tryTake()) return;
    for (const auto& write : pending_) write();
    pending_.clear();
    const std::array<uint32_t, 2> read = link_.data.tdcReadValues;
    const uint32_t ets = link_.data.etsState;
    link_.event.set();

    const QString maxText = QString::number(read[1]);
    const QString minText = QString::number(read[0]);
    if (maxValue_->text() != maxText) maxValue_->setText(maxText);
    if (minValue_->text() != minText) minValue_->setText(minText);
    const QString etsText = text(etsButtonText(ets));
    if (update_->text() != etsText) update_->setText(etsText);
}

}  // namespace oscilane
