#include "meter/meter_report.h"

#include <QPainter>

#include "display/report_page.h"
#include "meter/meter_texts.h"

namespace oscilane {

void drawMeterReport(QPainter& p, QSize page, const MeterPicture& picture, const QDateTime& when) {
    p.save();
    drawReportHead(p, page, QString::fromLatin1(metertext::kReportHeading), when);

    // The display keeps its own proportions, centred at the top of the room
    // between the date and the note.
    const QRect room = pageRect(page, 50, 165, 950, 850);
    const QSize display = MeterDisplay::kMinimumSize;
    const QSize shown = display.scaled(room.size(), Qt::KeepAspectRatio);
    p.translate(room.left() + (room.width() - shown.width()) / 2, room.top());
    p.scale(double(shown.width()) / display.width(), double(shown.height()) / display.height());
    PaintMeter(p, QRect(QPoint(0, 0), display), picture);
    p.restore();
}

}  // namespace oscilane
