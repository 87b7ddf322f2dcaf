// The scope window's history of acquisitions: every block the window
// displays also goes into a ring of the last 256, and the bar under the
// display (hidden until the history is first used) steps back through them
// while the window keeps acquiring.  Page Up and Page Down step one block
// older or newer, Home goes to the oldest kept block, End or the "Live"
// button back to the newest.  A chosen block is followed by its sequence
// number, so the same block stays chosen as new ones arrive; once it is
// overwritten the oldest kept block takes its place.
#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "model/acquisition_history.h"

class QPushButton;
class QSlider;

namespace oscilane {

class ScopeHistory : public QWidget {
    Q_OBJECT
  public:
    // Takes the history keys of `keys` and the widgets in it.
    explicit ScopeHistory(QWidget* keys, QWidget* parent = nullptr);

    // Keeps a copy of a block the window acquired, as the newest.
    void record(const SettingBlock& block);

    const AcquisitionHistory& blocks() const { return history_; }
    // Whether the window shows the newest acquisition.
    bool live() const { return !chosen_; }
    // The position of the chosen block; none while live.
    std::optional<int> position() const;
    // The status line's "History n/256 hh:mm:ss.cc"; empty while live.
    std::string mark() const;

    // One block older (negative) or newer; from live, -1 holds the newest.
    void step(int delta);
    void choose(int position);
    void showOldest() { choose(0); }
    void goLive();

    QSlider* slider() const { return slider_; }
    QPushButton* liveButton() const { return live_; }

  signals:
    // A block is to be displayed: the chosen one, or the newest on going live.
    void blockChosen(const SettingBlock& block);
    // The bar was shown for the first time.
    void appeared();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void followRing();
    void updateBar();

    AcquisitionHistory history_;
    std::optional<uint64_t> chosen_;
    QSlider* slider_;
    QPushButton* live_;
};

}  // namespace oscilane
