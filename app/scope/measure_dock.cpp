#include "scope/measure_dock.h"

#include <QBoxLayout>
#include <QDockWidget>
#include <QMainWindow>

#include "scope/measure_bar.h"
#include "scope/measure_bar_table.h"
#include "scope/measure_statistics_view.h"
#include "scope/scope_view.h"

namespace oscilane {
namespace {

// The bar and the statistics side by side where the width holds both whole,
// the statistics under the bar where it does not, so the table's columns
// never shrink below their headers.
class MeasureDockContents : public QWidget {
  public:
    MeasureDockContents(QWidget* bar, QWidget* statistics, QWidget* parent)
        : QWidget(parent),
          bar_(bar),
          statistics_(statistics),
          layout_(new QBoxLayout(QBoxLayout::LeftToRight, this)) {
        layout_->setContentsMargins(0, 0, 0, 0);
        layout_->addWidget(bar_);
        layout_->addWidget(statistics_, 1);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        const int sideBySide =
            bar_->sizeHint().width() + layout_->spacing() + statistics_->minimumSizeHint().width();
        layout_->setDirection(width() >= sideBySide ? QBoxLayout::LeftToRight
                                                    : QBoxLayout::TopToBottom);
        QWidget::resizeEvent(event);
    }

  private:
    QWidget* bar_;
    QWidget* statistics_;
    QBoxLayout* layout_;
};

}  // namespace

QDockWidget* createMeasureDock(QMainWindow& body, ScopeView& view) {
    auto* dock = new QDockWidget(QString::fromLatin1(measurebar::kTitle), &body);
    dock->setObjectName(QStringLiteral("measureDock"));
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    auto* bar = new MeasureBar(view.measurements());
    auto* statistics = new MeasureStatisticsView(view.measurements(), view.measureStatistics());
    dock->setWidget(new MeasureDockContents(bar, statistics, dock));

    QObject::connect(bar, &MeasureBar::measurementsChanged, statistics, [&view, statistics] {
        view.showMeasurements();
        statistics->refresh();
    });
    QObject::connect(&view, &ScopeView::measured, statistics, &MeasureStatisticsView::refresh);
    body.addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    return dock;
}

}  // namespace oscilane
