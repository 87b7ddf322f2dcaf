// A drawing surface with a graticule of square divisions on black, 12 x 8
// for both the scope and the generator's editor.  Knows nothing of
// instruments: subclasses draw their content over the graticule, and cursors
// or edit marks on a layer above it.
//
// Everything is drawn by render(), into whatever painter it is given: the
// widget's kept off-screen image (a repaint per acquired frame then reaches
// the screen in one copy, without flicker), a picture file or a printed page.
#pragma once

#include <QImage>
#include <QWidget>

#include "display/grid_geometry.h"

namespace oscilane {

class WaveScreen : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMinorPerDivision = 5;

    explicit WaveScreen(Divisions divisions = {}, QWidget* parent = nullptr);

    Divisions divisions() const { return divisions_; }
    void setMargins(int left, int top, int right, int bottom);
    void setBestFit(bool on);
    void setGridVisible(bool on);
    bool gridVisible() const { return gridVisible_; }
    const GridRect& grid() const { return grid_; }

    // Draws the whole screen as the widget shows it into `target`, scaled
    // when the target's size differs from the widget's.
    void render(QPainter& painter, const QRect& target);
    using QWidget::render;

  protected:
    // Content over the graticule and under the grid frame (traces), then
    // over the frame (labels, markers, texts); called only for a non-empty grid.
    virtual void drawBeneathFrame(QPainter& painter) = 0;
    virtual void drawAboveFrame(QPainter& painter) = 0;
    // The top layer: cursors and edit marks.
    virtual void drawMarks(QPainter&) {}
    // A resize forgets where the content was last laid out.
    virtual void gridChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void drawLayers(QPainter& painter);
    void drawGraticule(QPainter& painter) const;

    Divisions divisions_;
    Margins margins_;
    GridRect grid_;
    bool gridVisible_ = true;
    bool bestFit_ = false;
    QImage buffer_;  // created on the first paint after a resize
};

}  // namespace oscilane
