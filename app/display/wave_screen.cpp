#include "display/wave_screen.h"

#include <QPainter>
#include <QResizeEvent>
#include <QVarLengthArray>

#include "shell/palette.h"

namespace oscilane {

WaveScreen::WaveScreen(Divisions divisions, QWidget* parent)
    : QWidget(parent), divisions_(divisions) {
    // Every pixel comes from the off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaveScreen::setMargins(int left, int top, int right, int bottom) {
    margins_ = Margins{left, top, right, bottom};
}

void WaveScreen::setBestFit(bool on) {
    bestFit_ = on;
    if (on) grid_ = bestFitGrid(width(), height(), margins_, grid_, divisions_);
    gridChanged();
    update();
}

void WaveScreen::setGridVisible(bool on) {
    gridVisible_ = on;
    update();
}

void WaveScreen::resizeEvent(QResizeEvent* event) {
    if (bestFit_)
        grid_ =
            bestFitGrid(event->size().width(), event->size().height(), margins_, grid_, divisions_);
    buffer_ = QImage();
    gridChanged();
    update();
}

void WaveScreen::paintEvent(QPaintEvent*) {
    if (buffer_.size() != size()) buffer_ = QImage(size(), QImage::Format_RGB32);
    {
        QPainter painter(&buffer_);
        render(painter, buffer_.rect());
    }
    QPainter(this).drawImage(0, 0, buffer_);
}

void WaveScreen::render(QPainter& painter, const QRect& target) {
    painter.save();
    // Black first even for an empty grid, so a grid that became empty
    // without a resize does not leave the last picture standing.
    painter.fillRect(target, colour::kBackground);
    // The screen's own image needs no transformation; a page or a picture
    // of another size gets the same drawing moved and scaled into its place.
    if (target.topLeft() != QPoint(0, 0) || target.size() != size()) {
        painter.setClipRect(target);
        painter.translate(target.topLeft());
        if (!size().isEmpty())
            painter.scale(static_cast<double>(target.width()) / width(),
                          static_cast<double>(target.height()) / height());
    }
    drawLayers(painter);
    painter.restore();
}

void WaveScreen::drawLayers(QPainter& painter) {
    if (grid_.empty()) return;
    drawGraticule(painter);
    drawBeneathFrame(painter);
    painter.setPen(colour::kGraticuleFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(grid_.left, grid_.top, grid_.width(), grid_.height());
    drawAboveFrame(painter);
    drawMarks(painter);
}

void WaveScreen::drawGraticule(QPainter& p) const {
    const GridRect& g = grid_;
    const int stepsAcross = divisions_.across * kMinorPerDivision;
    const int stepsDown = divisions_.down * kMinorPerDivision;
    const double s = g.width() / static_cast<double>(stepsAcross);
    const int shortTick = static_cast<int>(s / 3);
    const int longTick = static_cast<int>(s / 2);
    const auto at = [s](int origin, int k) { return static_cast<int>(origin + k * s); };
    const int centreX = at(g.left, stepsAcross / 2);
    const int centreY = at(g.top, stepsDown / 2);

    // Everything is one colour, so the lines and the dots each go out in one
    // call.  Sized for the scope's 12 x 8 divisions; larger grids grow them.
    QVarLengthArray<QLine, 4 * (60 + 40)> lines;
    QVarLengthArray<QPoint, 2 * 60 * 40 / kMinorPerDivision> dots;
    for (int k = 1; k < stepsAcross; ++k) {
        const int x = at(g.left, k);
        if (k == stepsAcross / 2) {
            lines.append(QLine(x, g.top, x, g.bottom));
        } else if (k % kMinorPerDivision == 0) {
            lines.append(QLine(x, g.top, x, g.top + longTick));
            lines.append(QLine(x, g.bottom, x, g.bottom - longTick));
            if (gridVisible_)
                for (int j = 1; j < stepsDown; ++j) dots.append(QPoint(x, at(g.top, j)));
        } else {
            lines.append(QLine(x, g.top, x, g.top + shortTick));
            lines.append(QLine(x, g.bottom, x, g.bottom - shortTick));
        }
        lines.append(QLine(x, centreY - shortTick, x, centreY + shortTick));
    }
    for (int j = 1; j < stepsDown; ++j) {
        const int y = at(g.top, j);
        if (j == stepsDown / 2) {
            lines.append(QLine(g.left, y, g.right, y));
        } else if (j % kMinorPerDivision == 0) {
            lines.append(QLine(g.left, y, g.left + longTick, y));
            lines.append(QLine(g.right, y, g.right - longTick, y));
            if (gridVisible_)
                for (int k = 1; k < stepsAcross; ++k) dots.append(QPoint(at(g.left, k), y));
        } else {
            lines.append(QLine(g.left, y, g.left + shortTick, y));
            lines.append(QLine(g.right, y, g.right - shortTick, y));
        }
        lines.append(QLine(centreX - shortTick, y, centreX + shortTick, y));
    }
    p.setPen(colour::kGraticule);
    p.drawLines(lines.constData(), static_cast<int>(lines.size()));
    p.drawPoints(dots.constData(), static_cast<int>(dots.size()));
}

}  // namespace oscilane
