// The box shown over the scope view while an upload over a slow line runs:
// "Acquire Data" with a row of 0 to 3 dots that grows every 300 ms, and the
// upload's progress.  The keyboard cannot close it.
#pragma once

#include <QDialog>
#include <QTimer>

class QProgressBar;

namespace oscilane {

class AcquireProgressBox : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxDots = 3;

    explicit AcquireProgressBox(QWidget* parent);

    void setPercent(int percent);
    int dots() const { return dots_; }
    QString caption() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QProgressBar* bar_;
    QTimer dotTimer_;
    int dots_ = 0;
};

}  // namespace oscilane
