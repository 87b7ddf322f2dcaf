// The picture shown while the application starts.  It closes itself after
// 750 ms, or at once when the user presses a key or a mouse button anywhere
// in the application.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace oscilane {

class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShowMs = 750;

    explicit SplashWindow(const QPixmap& picture);

  signals:
    void finished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void finish();

    QPixmap picture_;
    bool finished_ = false;
};

}  // namespace oscilane
