#include "display/kept_text.h"

#include <QPainter>
#include <cmath>

namespace oscilane {
namespace {

// Glyphs may stand a little outside their layout box (overhangs, the
// rounding of a fractional width).
constexpr int kInkMargin = 3;

}  // namespace

void KeptText::layOut(const QString& text, const QFont& font) {
    if (laidOut_ && layout_.text() == text && font_ == font) return;
    layout_.setText(text);
    layout_.setTextFormat(Qt::PlainText);
    layout_.setPerformanceHint(QStaticText::AggressiveCaching);
    layout_.prepare(QTransform(), font);
    font_ = font;
    laidOut_ = true;
}

QRect KeptText::area(QPoint at, const QString& text, const QFont& font) {
    layOut(text, font);
    const QSizeF size = layout_.size();
    return QRect(at, QSize(static_cast<int>(std::ceil(size.width())),
                           static_cast<int>(std::ceil(size.height()))))
        .adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
}

QRect KeptText::draw(QPainter& painter, QPoint at, const QString& text, const QFont& font) {
    const QRect covered = area(at, text, font);
    painter.setFont(font);
    painter.drawStaticText(at, layout_);
    return covered;
}

}  // namespace oscilane
