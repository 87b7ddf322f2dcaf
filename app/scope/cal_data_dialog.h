// The "Cal Data" dialog: the instrument's wave calibration offsets of the
// four range groups, its two ETS (TDC) calibration values and its ETS
// update state.  Writes go through the scope data and one posted command
// each.  While it is open every upload also reads the TDC values back, and
// closing it stops that again.
//
// The scope data's calibration fields are the worker's while it holds the
// connection's event, so the dialog touches them only after taking the
// event without waiting; a write that meets a busy worker waits for the next
// 50 ms tick and is posted then.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>
#include <vector>

#include "scope/scope_link_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace oscilane {

class CalDataDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 50;
    static constexpr int kEditLength = 5;

    explicit CalDataDialog(ScopeLink link, QWidget* parent = nullptr);
    ~CalDataDialog() override;

    QComboBox* waveList(int group) const { return waveLists_[static_cast<std::size_t>(group)]; }
    QLineEdit* maxEdit() const { return maxEdit_; }
    QLineEdit* minEdit() const { return minEdit_; }
    QLabel* maxValue() const { return maxValue_; }
    QLabel* minValue() const { return minValue_; }
    QPushButton* maxOk() const { return maxOk_; }
    QPushButton* minOk() const { return minOk_; }
    QPushButton* updateButton() const { return update_; }

    // One timer tick: pending writes, then the displays.
    void refresh();

  private:
    // Runs `write` (which may post) while holding the event: now, or at a later tick.
    void underEvent(std::function<void()> write);
    void writeTdc(bool fromMax);

    ScopeLink link_;
    std::array<QComboBox*, 4> waveLists_{};
    QLineEdit* maxEdit_;
    QLineEdit* minEdit_;
    QLabel* maxValue_;
    QLabel* minValue_;
    QPushButton* maxOk_;
    QPushButton* minOk_;
    QPushButton* update_;
    std::vector<std::function<void()>> pending_;
    QTimer timer_;
};

// The text of the "Update" button for an ETS update state.
const char* etsButtonText(uint32_t state);

}  // namespace oscilane
