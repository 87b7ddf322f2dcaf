// The meter's printed test report: the shared report frame with
// "Pirla - DMM", the date and time, and the reading with its bar and trend
// drawn as the window shows them.
#pragma once

#include <QDateTime>
#include <QSize>

#include "meter/meter_display.h"

class QPainter;

namespace oscilane {

// Draws the report page of what the display shows on a page of the given
// size in device pixels.
void drawMeterReport(QPainter& painter, QSize page, const MeterPicture& picture,
                     const QDateTime& when);

}  // namespace oscilane
