#include "scope/measure_statistics_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "scope/measure_bar_table.h"

namespace oscilane {
namespace {

enum Column { kName, kCurrent, kMinimum, kMaximum, kMean, kDeviation, kFrames };

// "CH1:Vpp" (or "OVL:Vpp") from the slot's source and the kind's label.
QString slotName(const MeasureSlot& slot) {
    std::string label = kindText(slot.kind).label;
    while (!label.empty() && (label.back() == ' ' || label.back() == '=')) label.pop_back();
    return QString::fromLatin1(MeasureSlotPrefix(slot)) + QString::fromStdString(label);
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
    // Restart above the table, so the table has the view's whole width.
    auto* top = new QHBoxLayout;
    top->addWidget(restart_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    refresh();
}

QSize MeasureStatisticsView::minimumSizeHint() const {
    // Wide enough for every column at its header's width, and the scroll bar
    // the rows may need.
    const QHeaderView* header = table_->horizontalHeader();
    int columns = 0;
    for (int c = 0; c < header->count(); ++c)
        columns += std::max(header->sectionSize(c), header->sectionSizeHint(c));
    const QMargins margins = contentsMargins();
    const int width = columns + 2 * table_->frameWidth() +
                      table_->verticalScrollBar()->sizeHint().width() + margins.left() +
                      margins.right();
    return {width, QWidget::minimumSizeHint().height()};
}

void MeasureStatisticsView::refresh() {
    const int rows = measurements_.activeCount();
    table_->setRowCount(rows);
    for (int k = 0; k < rows; ++k) {
        const MeasureSlot& slot = measurements_.slot(k);
        const MeasureStats& s = statistics_.slot(k);
        auto value = [&](double v) {
            return QString::fromStdString(StatisticsValueText(slot.kind, v));
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
