// The "Measure" bar: two tool bars of 42 x 42 buttons, one per measurement,
// and the channel list ("CH1", "CH2", "Math", "Overlay", "Clear").  A button adds its
// measurement on the current channel; the list sets the current channel, or
// clears every measurement and goes back to the current channel.
#pragma once

#include <QWidget>

#include "model/measure_set.h"

class QAction;
class QComboBox;
class QToolBar;

namespace oscilane {

class MeasureBar : public QWidget {
    Q_OBJECT
  public:
    MeasureBar(MeasureSet& measurements, QWidget* parent = nullptr);

    QAction* action(int command) const;
    QComboBox* channelList() const { return channels_; }
    QToolBar* firstBar() const { return first_; }
    QToolBar* secondBar() const { return second_; }

  signals:
    // The slots changed (a measurement added, all cleared).
    void measurementsChanged();

  private:
    void chooseChannel(int entry);
    // The list's entry of the current channel or the overlay.
    int currentEntry() const;

    MeasureSet& measurements_;
    QToolBar* first_;
    QToolBar* second_;
    QComboBox* channels_;
};

}  // namespace oscilane
