#include "scope/scope_view.h"

#include <QPainter>

namespace oscilane {
namespace {

constexpr int kMargin = 20;
constexpr int kMinorPerDivision = 5;
const QColor kGraticule(200, 200, 200);
const QColor kFrame(255, 255, 255);

}  // namespace

ScopeView::ScopeView(Document& document) : document_(document) {
    setMinimumSize(400, 247);
    setAutoFillBackground(false);
}

QRect ScopeView::gridRect() const {
    // Whole pixels per minor step keep every division line on a pixel.
    const int stepsAcross = kDivisionsAcross * kMinorPerDivision;
    const int stepsDown = kDivisionsDown * kMinorPerDivision;
    const int step = std::max(
        1, std::min((width() - 2 * kMargin) / stepsAcross, (height() - 2 * kMargin) / stepsDown));
    const QSize grid(step * stepsAcross, step * stepsDown);
    return QRect(QPoint((width() - grid.width()) / 2, (height() - grid.height()) / 2), grid);
}

void ScopeView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QRect grid = gridRect();
    const int step = grid.width() / (kDivisionsAcross * kMinorPerDivision);
    const int tick = std::max(2, step);

    p.setPen(kGraticule);
    // Dotted division lines: one dot per minor step.
    for (int d = 1; d < kDivisionsAcross; ++d) {
        const int x = grid.left() + d * kMinorPerDivision * step;
        for (int y = grid.top(); y <= grid.bottom(); y += step) p.drawPoint(x, y);
    }
    for (int d = 1; d < kDivisionsDown; ++d) {
        const int y = grid.top() + d * kMinorPerDivision * step;
        for (int x = grid.left(); x <= grid.right(); x += step) p.drawPoint(x, y);
    }
    // Centre lines carry a tick at every minor step.
    const QPoint centre = grid.center();
    p.drawLine(grid.left(), centre.y(), grid.right(), centre.y());
    p.drawLine(centre.x(), grid.top(), centre.x(), grid.bottom());
    for (int x = grid.left(); x <= grid.right(); x += step)
        p.drawLine(x, centre.y() - tick, x, centre.y() + tick);
    for (int y = grid.top(); y <= grid.bottom(); y += step)
        p.drawLine(centre.x() - tick, y, centre.x() + tick, y);

    p.setPen(kFrame);
    p.drawRect(grid);
}

}  // namespace oscilane
