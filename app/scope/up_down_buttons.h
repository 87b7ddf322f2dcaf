// A pair of arrow buttons that report a step of +1 (up) or -1 (down) and
// keep no position: what they change is shown by the next upload.
#pragma once

#include <QWidget>

namespace oscilane {

class UpDownButtons : public QWidget {
    Q_OBJECT
  public:
    explicit UpDownButtons(const QString& name, QWidget* parent = nullptr);

  signals:
    void stepped(int delta);
};

}  // namespace oscilane
