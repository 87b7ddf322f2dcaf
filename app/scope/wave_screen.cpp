#include "scope/wave_screen.h"

#include <QPainter>
#include <QResizeEvent>

namespace oscilane {

WaveScreen::WaveScreen(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WaveScreen::setMargins(int left, int top, int right, int bottom) {
    margins_ = Margins{left, top, right, bottom};
}

void WaveScreen::setBestFit(bool on) {
    bestFit_ = on;
    if (on) grid_ = bestFitGrid(width(), height(), margins_, grid_);
    gridChanged();
    update();
}

void WaveScreen::setGridVisible(bool on) {
    gridVisible_ = on;
    update();
}

void WaveScreen::resizeEvent(QResizeEvent* event) {
    if (bestFit_) grid_ = bestFitGrid(event->size().width(), event->size().height(), margins_, grid_);
    buffer_ = QImage();
    gridChanged();
    update();
}

void WaveScreen::paintEvent(QPaintEvent*) {
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_RGB32);
        buffer_.fill(Qt::black);
    }
    renderInto(buffer_);
    QPainter(this).drawImage(0, 0, buffer_);
}

void WaveScreen::renderInto(QImage& image) {
    if (grid_.empty()) return;
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::black);
    drawGraticule(painter);
    drawBeneathFrame(painter);
    painter.setPen(frameColour_);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(grid_.left, grid_.top, grid_.width(), grid_.height());
    drawAboveFrame(painter);
}

void WaveScreen::drawGraticule(QPainter& p) const {
    const GridRect& g = grid_;
    const double s = g.width() / static_cast<double>(kMinorStepsAcross);
    const int shortTick = static_cast<int>(s / 3);
    const int longTick = static_cast<int>(s / 2);
    const auto at = [s](int origin, int k) { return static_cast<int>(origin + k * s); };
    const int centreX = at(g.left, kMinorStepsAcross / 2);
    const int centreY = at(g.top, kMinorStepsDown / 2);

    p.setPen(gridColour_);
    for (int k = 1; k < kMinorStepsAcross; ++k) {
        const int x = at(g.left, k);
        if (k == kMinorStepsAcross / 2) {
            p.drawLine(x, g.top, x, g.bottom);
        } else if (k % kMinorPerDivision == 0) {
            p.drawLine(x, g.top, x, g.top + longTick);
            p.drawLine(x, g.bottom, x, g.bottom - longTick);
            if (gridVisible_)
                for (int j = 1; j < kMinorStepsDown; ++j) p.drawPoint(x, at(g.top, j));
        } else {
            p.drawLine(x, g.top, x, g.top + shortTick);
            p.drawLine(x, g.bottom, x, g.bottom - shortTick);
        }
        p.drawLine(x, centreY - shortTick, x, centreY + shortTick);
    }
    for (int j = 1; j < kMinorStepsDown; ++j) {
        const int y = at(g.top, j);
        if (j == kMinorStepsDown / 2) {
            p.drawLine(g.left, y, g.right, y);
        } else if (j % kMinorPerDivision == 0) {
            p.drawLine(g.left, y, g.left + longTick, y);
            p.drawLine(g.right, y, g.right - longTick, y);
            if (gridVisible_)
                for (int k = 1; k < kMinorStepsAcross; ++k) p.drawPoint(at(g.left, k), y);
        } else {
            p.drawLine(g.left, y, g.left + shortTick, y);
            p.drawLine(g.right, y, g.right - shortTick, y);
        }
        p.drawLine(centreX - shortTick, y, centreX + shortTick, y);
    }
}

}  // namespace oscilane
