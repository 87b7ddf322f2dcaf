#include "scope/measure_dock.h"

#include <QDockWidget>
#include <QHBoxLayout>
#include <QMainWindow>

#include "scope/measure_bar.h"
#include "scope/measure_bar_table.h"
#include "scope/measure_statistics_view.h"
#include "scope/scope_view.h"

namespace oscilane {

QDockWidget* createMeasureDock(QMainWindow& body, ScopeView& view) {
    auto* dock = new QDockWidget(QString::fromLatin1(measurebar::kTitle), &body);
    dock->setObjectName(QStringLiteral("measureDock"));
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    auto* contents = new QWidget(dock);
    auto* bar = new MeasureBar(view.measurements(), contents);
    auto* statistics =
        new MeasureStatisticsView(view.measurements(), view.measureStatistics(), contents);
    auto* layout = new QHBoxLayout(contents);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(statistics, 1);
    dock->setWidget(contents);

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
