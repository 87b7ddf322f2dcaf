// The scope window's view: the display, scrolled when the window is smaller
// than the display's 650 x 450, the history bar under it, and the
// acquisition timer.  Every 100 ms the timer takes the worker event without
// waiting, keeps a copy of a new upload in the history and, while the window
// is live, copies it into the displayed block, refreshes the controller
// panel and repaints.  A block chosen from the history becomes the displayed
// block the same way, so everything that reads it shows the chosen one.
#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QTimer>

#include "model/measure_set.h"
#include "model/measure_statistics.h"
#include "scope/scope_link_state.h"
#include "scope/scope_panel.h"
#include "shell/command_map.h"

namespace oscilane {

class AcquireProgressBox;
class Document;
class ScopeHistory;
class ScopePanel;
class ScopeScreen;

class ScopeView : public QScrollArea, public CommandTarget {
    Q_OBJECT
  public:
    static constexpr QSize kMinimumDisplay{650, 450};

    ScopeView(Document& document, ScopeLink link);
    ~ScopeView() override;

    Document& document() const { return document_; }
    ScopeScreen& screen() const { return *screen_; }
    // The controller panel; the frame docks it beside the view.
    ScopePanel* panel() const { return panel_; }
    AcquireProgressBox& progressBox() const { return *progress_; }
    ScopeHistory& history() const { return *history_; }

    // One timer tick.
    void tick();

    // The automatic measurements, recomputed after each copied block, and
    // their statistics over the frames.
    MeasureSet& measurements() { return measurements_; }
    MeasureStatistics& measureStatistics() { return measureStatistics_; }
    // Hands the slots' texts to the display (after a change of the slots too).
    void showMeasurements();

  signals:
    // The measurements were recomputed from a new block.
    void measured();

  public:
    // The frame opens fitted to the whole display.
    QSize sizeHint() const override { return kMinimumDisplay; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Makes a block the displayed one: panel, measurements, status mark.
    void display(const SettingBlock& block);
    // Leaves room under the display for the history bar once it is shown.
    void placeHistoryBar();

    Document& document_;
    ScopeLink link_;
    ScopeScreen* screen_;
    QPointer<ScopePanel> panel_;
    AcquireProgressBox* progress_;
    ScopeHistory* history_;
    QTimer timer_;
    MeasureSet measurements_;
    MeasureStatistics measureStatistics_;
    bool firstLayout_ = true;
};

}  // namespace oscilane
