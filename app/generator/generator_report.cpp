#include "generator/generator_report.h"

#include <QPainter>

#include "display/report_page.h"
#include "generator/generator_window_texts.h"

namespace oscilane {
namespace {

// The parameter list: rows from 720 thousandths down, two columns.
constexpr int kListTop = 720;
constexpr int kListRowStep = 22;
constexpr int kRowsPerColumn = 6;
constexpr int kColumnLeft[] = {50, 500};

}  // namespace

void drawGeneratorReport(QPainter& p, QSize page, const QImage& plot, const QStringList& parameters,
                         const QDateTime& when) {
    p.save();
    drawReportHead(p, page, QString::fromLatin1(gentext::kReportHeading), when);

    const QRect room = pageRect(page, 50, 165, 950, 700);
    if (!plot.isNull()) {
        const QSize shown = plot.size().scaled(room.size(), Qt::KeepAspectRatio);
        const QRect target(QPoint(room.left() + (room.width() - shown.width()) / 2, room.top()),
                           shown);
        p.drawImage(target, plot);
        p.drawRect(target);
    }
    // Lines beyond the two columns' room are left out rather than run into the note.
    const qsizetype lines =
        std::min<qsizetype>(parameters.size(), kRowsPerColumn * std::size(kColumnLeft));
    for (qsizetype i = 0; i < lines; ++i) {
        const int column = static_cast<int>(i / kRowsPerColumn);
        const int row = static_cast<int>(i % kRowsPerColumn);
        drawReportText(p, pagePoint(page, kColumnLeft[column], kListTop + row * kListRowStep),
                       parameters[i]);
    }
    p.restore();
}

}  // namespace oscilane
