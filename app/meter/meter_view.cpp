#include "meter/meter_view.h"

#include <QPainter>

namespace oscilane {
namespace {

constexpr int kMargin = 16;
const QColor kReading(0, 255, 0);
const QColor kIdle(90, 90, 90);

}  // namespace

MeterView::MeterView(Document& document) : document_(document) { setMinimumSize(360, 200); }

void MeterView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::black);
    const QRect panel = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    p.setPen(QPen(kIdle, 2));
    p.drawRoundedRect(panel, 8, 8);

    QFont digits(QStringLiteral("Arial"));
    digits.setBold(true);
    digits.setPixelSize(std::max(12, std::min(panel.height() / 3, panel.width() / 8)));
    p.setFont(digits);
    p.setPen(kReading.darker(250));
    p.drawText(panel, Qt::AlignCenter, QStringLiteral("- - - - -"));
}

}  // namespace oscilane
