#include "scope/measure_statistics_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <string>

#include "scope/measure_bar_table.h"

namespace oscilane {
namespace {

enum Column { kName, kCurrent, kMinimum, kMaximum, kMean, kDeviation, kFrames };

// "CH1:Vpp" from the slot's channel and the kind's label.
QString slotName(const MeasureSlot& slot) {
    std::string label = kindText(slot.kind).label;
    while (!label.empty() && (label.back() == ' ' || label.back() == '=')) label.pop_back();
    return QString::fromLatin1(
               measuretext::kChannelPrefixes[static_cast<std::size_t>(slot.channel)]) +
           QString::fromStdString(label);
}

}  // namespace

MeasureStatisticsView::MeasureStatisticsView(const MeasureSet& measurements,
                                             MeasureStatistics& statistics, QWidget* parent)
    : QWidget(parent),
      measurements_(measurements),
      statistics_(statistics),
      table_(new QTableWidget(0, static_cast<int>(measurebar::kStatisticsColumns.size()), this)),
      restart_(new QPushButton(QString::fromLatin1(measurebar::kRestart), this)) {
    QStringList headers;
    for (const char* h : measurebar::kStatisticsColumns) headers << QString::fromLatin1(h);
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    restart_->setObjectName(QStringLiteral("measureRestart"));
    connect(restart_, &QPushButton::clicked, this, [this] {
        statistics_.restart();
        refresh();
    });
    auto* side = new QVBoxLayout;
    side->addWidget(restart_);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(table_, 1);
    layout->addLayout(side);
    refresh();
}

void MeasureStatisticsView::refresh() {
    const int rows = measurements_.activeCount();
    table_->setRowCount(rows);
    for (int k = 0; k < rows; ++k) {
        const MeasureSlot& slot = measurements_.slot(k);
        const MeasureStats& s = statistics_.slot(k);
        auto value = [&](double v) {
            return QString::fromStdString(measureValueText(slot.kind, v));
        };
        const bool counted = s.frames > 0;
        const QString none = QString::fromLatin1(measuretext::kNoValue);
        const QString cells[] = {
            slotName(slot),
            s.current ? value(*s.current) : none,
            counted ? value(s.minimum) : none,
            counted ? value(s.maximum) : none,
            counted ? value(s.mean) : none,
            counted ? value(s.deviation) : none,
            QString::number(s.frames),
        };
        for (int c = kName; c <= kFrames; ++c) {
            QTableWidgetItem* item = table_->item(k, c);
            if (!item) table_->setItem(k, c, item = new QTableWidgetItem);
            item->setText(cells[c]);
        }
    }
}

}  // namespace oscilane
