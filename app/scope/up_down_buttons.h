// A pair of arrow buttons that report a step of +1 or -1 and keep no
// position: what they change is shown by the next upload.
#pragma once

#include <QWidget>

namespace oscilane {

class UpDownButtons : public QWidget {
    Q_OBJECT
  public:
    // Rising: the up arrow reports +1.  Falling: the control's range runs
    // from high to low, so the up arrow reports -1 and the down arrow +1.
    enum class Range { Rising, Falling };

    UpDownButtons(const QString& name, Range range, QWidget* parent = nullptr);

  signals:
    void stepped(int delta);
};

}  // namespace oscilane
