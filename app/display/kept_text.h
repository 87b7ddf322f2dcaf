// A text laid out once and drawn again from that layout until its words or
// its font change: the display's labels, status pieces and measurement texts
// mostly stay the same from one frame to the next, and shaping them afresh
// was a sixth of a frame.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>

class QPainter;

namespace oscilane {

class KeptText {
  public:
    // Draws `text` in `font` and the painter's pen with its top-left corner
    // at `at`, on a transparent background; returns the pixels it may cover.
    QRect draw(QPainter& painter, QPoint at, const QString& text, const QFont& font);
    // The pixels draw() would cover.
    QRect area(QPoint at, const QString& text, const QFont& font);

  private:
    void layOut(const QString& text, const QFont& font);

    QStaticText layout_;
    QFont font_;
    bool laidOut_ = false;
};

}  // namespace oscilane
