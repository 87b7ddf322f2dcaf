// The About box: the application's name, version and picture.
#pragma once

#include <QDialog>

namespace oscilane {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace oscilane
