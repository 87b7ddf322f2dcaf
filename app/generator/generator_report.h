// The generator's printed test report: the shared report frame with
// "Pirla - DDS", the date and time, the plot as the window shows it and the
// wave's parameter list.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QStringList>

class QPainter;

namespace oscilane {

// Draws the report page on a page of the given size in device pixels: the
// plot picture scaled into the page with its proportions kept, the
// parameter lines below it in two columns.
void drawGeneratorReport(QPainter& painter, QSize page, const QImage& plot,
                         const QStringList& parameters, const QDateTime& when);

}  // namespace oscilane
