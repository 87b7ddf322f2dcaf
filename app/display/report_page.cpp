#include "display/report_page.h"

#include <QPainter>

#include "model/scope_report_texts.h"

namespace oscilane {
namespace {

// k thousandths in from the far edge: W - trunc(W * k / 1000).
int fromRight(QSize page, int k) { return page.width() - pageX(page, k); }
int fromBottom(QSize page, int k) { return page.height() - pageY(page, k); }

constexpr const char* kFontFamily = "Liberation Sans";
constexpr const char* kTitle = "Test Report";
constexpr const char* kNote = "Note:";

}  // namespace

int pageX(QSize page, int a) {
    return static_cast<int>(static_cast<long long>(page.width()) * a / 1000);
}
int pageY(QSize page, int b) {
    return static_cast<int>(static_cast<long long>(page.height()) * b / 1000);
}
QPoint pagePoint(QSize page, int a, int b) { return {pageX(page, a), pageY(page, b)}; }
QRect pageRect(QSize page, int a, int b, int right, int bottom) {
    return QRect(pagePoint(page, a, b), pagePoint(page, right, bottom));
}

QFont reportFont(int pixelHeight) {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(std::max(1, pixelHeight));
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QFont reportTextFont(QSize page) { return reportFont(pageY(page, 25)); }

void drawReportText(QPainter& painter, QPoint at, const QString& text) {
    painter.drawText(at + QPoint(0, painter.fontMetrics().ascent()), text);
}

void drawReportFrame(QPainter& painter, QSize page, const QString& heading,
                     const QList<ReportLegendEntry>& legend) {
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    struct Inset {
        int left, top;
    };
    for (const Inset in : {Inset{10, 30}, Inset{15, 35}, Inset{16, 36}, Inset{17, 37}})
        painter.drawRect(QRect(pagePoint(page, in.left, in.top),
                               QPoint(fromRight(page, in.left), fromBottom(page, in.left))));

    painter.setFont(reportFont(pageY(page, 50)));
    const QRect titleRoom(pagePoint(page, 20, 40),
                          QPoint(fromRight(page, 20), fromBottom(page, 20)));
    painter.drawText(titleRoom, Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(kTitle));

    painter.setFont(reportTextFont(page));
    drawReportText(painter, pagePoint(page, 700, 100), heading);
    for (const ReportLegendEntry& e : legend) {
        drawReportText(painter, pagePoint(page, e.labelX, e.labelY), e.label);
        painter.fillRect(QRect(pagePoint(page, e.swatch.left(), e.swatch.top()),
                               pagePoint(page, e.swatch.right(), e.swatch.bottom())),
                         e.colour);
    }
    drawReportText(painter, pagePoint(page, 50, 870), QString::fromLatin1(kNote));
    painter.drawLine(pagePoint(page, 200, 890), pagePoint(page, 950, 890));
    painter.drawLine(pagePoint(page, 50, 930), pagePoint(page, 950, 930));
    painter.drawLine(pagePoint(page, 50, 970), pagePoint(page, 950, 970));
    painter.restore();
}

void drawReportHead(QPainter& p, QSize page, const QString& heading, const QDateTime& when) {
    drawReportFrame(p, page, heading, {});
    p.setPen(QPen(Qt::black, 0));
    p.setFont(reportTextFont(page));
    const QDate d = when.date();
    const QTime t = when.time();
    drawReportText(p, pagePoint(page, 50, 130),
                   QString::fromStdString(ReportDateLine(
                       {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()})));
}

}  // namespace oscilane
