// The frame of a printed test report, shared by the scope, meter and
// generator reports: four nested rectangles, the title "Test Report", the
// report's heading, its colour legend and the ruled note lines.  Positions
// are thousandths of the printable page, truncated to device pixels.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace oscilane {

// x = trunc(W * a / 1000), y = trunc(H * b / 1000).
int pageX(QSize page, int thousandths);
int pageY(QSize page, int thousandths);
QPoint pagePoint(QSize page, int a, int b);
// From (a, b) to (right, bottom), both in thousandths.
QRect pageRect(QSize page, int a, int b, int right, int bottom);

// One legend entry: its label at (labelX, labelY) and a solid swatch.
struct ReportLegendEntry {
    QString label;
    int labelX;
    int labelY;
    QRect swatch;  // in thousandths: x, y, right, bottom as a QRect(QPoint, QPoint)
    QColor colour;
};

// The font of the report's texts, height in device pixels.
QFont reportFont(int pixelHeight);
// The frame texts' font: a fortieth of the page height.
QFont reportTextFont(QSize page);

// Draws the frame: rectangles, title, heading at (700, 100), the legend
// entries, "Note:" and its three lines.
void drawReportFrame(QPainter& painter, QSize page, const QString& heading,
                     const QList<ReportLegendEntry>& legend);

// Draws text with its top-left corner at the point.
void drawReportText(QPainter& painter, QPoint at, const QString& text);

// A page without a legend: the frame with its heading, then the date and
// time line at (50, 130) in the report's text font and a black pen, which
// stay set for the page's own texts.
void drawReportHead(QPainter& painter, QSize page, const QString& heading, const QDateTime& when);

}  // namespace oscilane
