// The "Cursor" dialog: the cursor channel and the five cursor types.  Every
// change takes effect at once; "OK" and "Cancel" only close the dialog and
// neither undoes a change.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "model/cursor_readouts.h"

class QComboBox;
class QRadioButton;

namespace oscilane {

class CursorDialog : public QDialog {
    Q_OBJECT
  public:
    // `changed` runs after each change of `choice` (the display repaints).
    CursorDialog(CursorChoice& choice, std::function<void()> changed, QWidget* parent = nullptr);

    QComboBox* channelList() const { return channel_; }
    QRadioButton* typeButton(CursorType type) const {
        return types_[static_cast<std::size_t>(type)];
    }

  private:
    CursorChoice& choice_;
    std::function<void()> changed_;
    QComboBox* channel_;
    std::array<QRadioButton*, kCursorTypeCount> types_{};
};

}  // namespace oscilane
