// The statistics of the active measurements beside the measure bar: for each
// slot its current value, minimum, maximum, mean, standard deviation and the
// number of frames counted, with a button that starts them over.  It reads
// the measurements; the texts on the display stay as they are.
#pragma once

#include <QWidget>

#include "model/measure_set.h"
#include "model/measure_statistics.h"

class QPushButton;
class QTableWidget;

namespace oscilane {

class MeasureStatisticsView : public QWidget {
    Q_OBJECT
  public:
    MeasureStatisticsView(const MeasureSet& measurements, MeasureStatistics& statistics,
                          QWidget* parent = nullptr);

    // Shows the statistics as they stand.
    void refresh();
    // Wide enough that every column shows its whole header.
    QSize minimumSizeHint() const override;

    QTableWidget* table() const { return table_; }
    QPushButton* restartButton() const { return restart_; }

  private:
    const MeasureSet& measurements_;
    MeasureStatistics& statistics_;
    QTableWidget* table_;
    QPushButton* restart_;
};

}  // namespace oscilane
