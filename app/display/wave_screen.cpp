#include "display/wave_screen.h"

#include <QPainter>
#include <QResizeEvent>
#include <QVarLengthArray>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstring>

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
    changed();
}

void WaveScreen::setGridVisible(bool on) {
    gridVisible_ = on;
    changed();
}

void WaveScreen::resizeEvent(QResizeEvent* event) {
    if (bestFit_)
        grid_ =
            bestFitGrid(event->size().width(), event->size().height(), margins_, grid_, divisions_);
    // A resize event of the same size (Qt sends one before a hidden
    // widget's first paints) leaves the image as good as it was.
    if (event->size() != buffer_.size()) buffer_ = QImage();
    gridChanged();
    changed();
}

void WaveScreen::changeEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::PaletteChange || type == QEvent::StyleChange) layerStale_ = true;
    if (layerStale_ || type == QEvent::FontChange) changed();
    QWidget::changeEvent(event);
}

void WaveScreen::changed() {
    contentChanged_ = true;
    uncopied_ = QRegion();
    update();
}

void WaveScreen::updateLayer() {
    const LayerKey key{size(), grid_, gridVisible_};
    if (!layerStale_ && key == layerKey_ && layer_.size() == size()) return;
    layer_ = QImage(size(), QImage::Format_RGB32);
    layer_.fill(colour::kBackground);
    if (!grid_.empty()) {
        QPainter painter(&layer_);
        drawGraticule(painter);
        drawFrame(painter);
    }
    layerKey_ = key;
    layerStale_ = false;
    fixturesStale_ = true;
    bufferFromLayer_ = false;  // every pixel of buffer_ was drawn over another layer
}

void WaveScreen::updateFixtures() {
    if (!reportsDrawing() || grid_.empty()) {
        // Drawn with each frame, if at all.
        if (fixturesKept_) bufferFromLayer_ = false;
        fixturesKept_ = false;
        fixturesStale_ = true;
        return;
    }
    if (!fixturesChanged() && !fixturesStale_) return;
    const bool whole = fixturesStale_ || !fixturesKept_;
    if (whole) {
        fixtures_ = layer_.copy();
    } else {
        restore(fixtures_, layer_, fixturesDrawn_.rects());
        // Where they were and where they are now change in the screen's image.
        for (const QRect& rect : fixturesDrawn_.rects()) drawn_.add(rect);
    }
    fixturesDrawn_.clear();
    {
        QPainter painter(&fixtures_);
        recording_ = &fixturesDrawn_;
        drawFixtures(painter, FixtureLayer::Kept);
        recording_ = nullptr;
    }
    fixturesKept_ = true;
    fixturesStale_ = false;
    if (whole) {
        bufferFromLayer_ = false;
    } else {
        for (const QRect& rect : fixturesDrawn_.rects()) drawn_.add(rect);
    }
}

void WaveScreen::restore(QImage& image, const QImage& source, std::span<const QRect> rects) {
    const qsizetype line = image.bytesPerLine();
    uchar* const to = image.bits();
    const uchar* const from = source.constBits();
    const int width = image.width(), height = image.height();
    for (const QRect& rect : rects) {
        const int left = std::max(rect.left(), 0), right = std::min(rect.right(), width - 1);
        const int top = std::max(rect.top(), 0), bottom = std::min(rect.bottom(), height - 1);
        if (left > right || top > bottom) continue;
        const qsizetype start = top * line + left * 4;
        // A dot trace's points are one-pixel columns.
        if (left == right) {
            copyColumn(reinterpret_cast<QRgb*>(to + start),
                       reinterpret_cast<const QRgb*>(from + start), line / 4, bottom - top + 1);
            continue;
        }
        const auto bytes = static_cast<std::size_t>(right - left + 1) * 4;
        for (qsizetype at = start, end = bottom * line + left * 4; at <= end; at += line)
            std::memcpy(to + at, from + at, bytes);
    }
}

QRegion WaveScreen::drawFrameImage() {
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_RGB32);
        bufferFromLayer_ = false;
    }
    updateLayer();
    updateFixtures();
    for (TraceSpans& trace : traces_) trace.clear();
    if (reportsDrawing() && !grid_.empty()) prepareTraces(traces_);
    // Only what the last frame drew over the layer needs the layer back.
    if (!bufferFromLayer_ || !reportsDrawing()) {
        drawn_.clear();
        drawn_.add(buffer_.rect());
        lastTraces_.clear();
        bufferFromLayer_ = true;
    }
    QRegion changedPixels;
    drawn_.addCoverTo(changedPixels);
    restore(buffer_, beneathFrame(), drawn_.rects());
    const qsizetype stride = buffer_.bytesPerLine() / 4;
    auto* const pixels = reinterpret_cast<QRgb*>(buffer_.bits());
    const auto* const beneath = reinterpret_cast<const QRgb*>(beneathFrame().constBits());
    for (std::size_t k = 0; k < std::max(lastTraces_.size(), traces_.size()); ++k) {
        const TraceSpans* const last = k < lastTraces_.size() ? &lastTraces_[k] : nullptr;
        const TraceSpans* const now = k < traces_.size() ? &traces_[k] : nullptr;
        // A trace that sets the same pixels as last frame's changes none of
        // them: where something else drew over it, that has a cover of its own.
        if (last && now && now->sameAs(*last)) continue;
        for (const TraceSpans* trace : {last, now})
            if (trace)
                for (const QRect& cover : trace->covers) changedPixels += cover;
        if (last) restoreSpans(pixels, beneath, stride, *last, now);
    }
    drawn_.clear();
    {
        QPainter painter(&buffer_);
        recording_ = &drawn_;
        tracesPending_ = true;
        drawLayers(painter, true);
        tracesPending_ = false;
        recording_ = nullptr;
    }
    lastTraces_.swap(traces_);
    drawn_.addCoverTo(changedPixels);
    contentChanged_ = false;
    frameDrawn();
    return changedPixels & buffer_.rect();
}

void WaveScreen::setPreparedTraces() {
    if (!tracesPending_) return;
    tracesPending_ = false;
    const qsizetype stride = buffer_.bytesPerLine() / 4;
    auto* const pixels = reinterpret_cast<QRgb*>(buffer_.bits());
    for (const TraceSpans& trace : traces_) setSpans(pixels, stride, trace);
}

void WaveScreen::redraw() {
    // A hidden widget, or one in a window not on the screen (minimised),
    // draws at the paint that shows it.
    const QWindow* shownIn = window()->windowHandle();
    if (!isVisible() || !reportsDrawing() || (shownIn && !shownIn->isExposed())) {
        changed();
        return;
    }
    const QRegion region = drawFrameImage();
    uncopied_ += region;
    update(region);
}

void WaveScreen::paintEvent(QPaintEvent* event) {
    const QRegion& asked = event->region();
    // A paint that only copies what redraw() drew; any other (a change of
    // content, an expose, Qt's own) draws the frame first.
    if (contentChanged_ || buffer_.size() != size() || !(asked - uncopied_).isEmpty()) {
        const QRegion outside = drawFrameImage() - asked;
        // Pixels this paint cannot reach go out with the next one.
        uncopied_ = outside;
        if (!outside.isEmpty()) update(outside);
    } else {
        uncopied_ -= asked;
    }
    // A rectangle at a time: under a clip of many rectangles Qt would
    // blend through its general path, on a pool of threads.
    QPainter painter(this);
    for (const QRect& rect : asked) {
        painter.setClipRect(rect);
        painter.drawImage(rect.topLeft(), buffer_, rect);
    }
}

void WaveScreen::render(QPainter& painter, const QRect& target) {
    painter.save();
    const bool unscaled = target.topLeft() == QPoint(0, 0) && target.size() == size();
    if (unscaled) {
        updateLayer();
        updateFixtures();
        painter.drawImage(0, 0, beneathFrame());
    } else {
        // Black first even for an empty grid, so a grid that became empty
        // without a resize does not leave the last picture standing.
        painter.fillRect(target, colour::kBackground);
        // A page or a picture of another size gets the same drawing moved
        // and scaled into its place.
        painter.setClipRect(target);
        painter.translate(target.topLeft());
        if (!size().isEmpty())
            painter.scale(static_cast<double>(target.width()) / width(),
                          static_cast<double>(target.height()) / height());
    }
    drawLayers(painter, unscaled);
    painter.restore();
}

void WaveScreen::drawLayers(QPainter& painter, bool fromLayer) {
    if (grid_.empty()) return;
    if (!fromLayer) drawGraticule(painter);
    drawBeneathFrame(painter);
    if (painter.device() == &buffer_) setPreparedTraces();
    if (fromLayer) {
        // The frame's four one-pixel edges, over whatever the content drew on them.
        const GridRect& g = grid_;
        const std::array<QRect, 4> edges{
            QRect(g.left, g.top, g.width() + 1, 1), QRect(g.left, g.bottom, g.width() + 1, 1),
            QRect(g.left, g.top, 1, g.height() + 1), QRect(g.right, g.top, 1, g.height() + 1)};
        // The screen's own image takes them as pixel copies; the raster
        // engine writes straight into it, so the two stay in order.
        if (painter.device() == &buffer_) {
            restore(buffer_, beneathFrame(), edges);
        } else {
            for (const QRect& edge : edges) painter.drawImage(edge.topLeft(), beneathFrame(), edge);
        }
    } else {
        drawFrame(painter);
    }
    drawFixtures(painter, fromLayer && fixturesKept_ ? FixtureLayer::OverFrame : FixtureLayer::All);
    drawAboveFrame(painter);
    drawMarks(painter);
}

void WaveScreen::drawFrame(QPainter& painter) const {
    painter.setPen(colour::kGraticuleFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(grid_.left, grid_.top, grid_.width(), grid_.height());
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
