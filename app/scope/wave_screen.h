// A drawing surface with a 12 x 8 division graticule on black.  All drawing
// goes into an off-screen image kept between paints and reaches the widget
// in one copy, so a repaint per acquired frame does not flicker.  Knows
// nothing of instruments: subclasses draw their content over the graticule.
#pragma once

#include <QImage>
#include <QWidget>

#include "scope/grid_geometry.h"

namespace oscilane {

class WaveScreen : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMinorStepsAcross = 60;  // 12 divisions of 5
    static constexpr int kMinorStepsDown = 40;    // 8 divisions of 5
    static constexpr int kMinorPerDivision = 5;

    explicit WaveScreen(QWidget* parent = nullptr);

    void setMargins(int left, int top, int right, int bottom);
    void setBestFit(bool on);
    void setGridVisible(bool on);
    bool gridVisible() const { return gridVisible_; }
    const GridRect& grid() const { return grid_; }

    // Draws the whole screen into `image` (of the widget's size), as a paint does.
    void renderInto(QImage& image);

  protected:
    // Content over the graticule and under the grid frame (traces), then
    // over the frame (labels, markers, texts); called only for a non-empty grid.
    virtual void drawBeneathFrame(QPainter& painter) = 0;
    virtual void drawAboveFrame(QPainter& painter) = 0;
    // A resize forgets where the content was last laid out.
    virtual void gridChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void drawGraticule(QPainter& painter) const;

    Margins margins_;
    GridRect grid_;
    bool gridVisible_ = true;
    bool bestFit_ = false;
    QColor gridColour_{200, 200, 200};
    QColor frameColour_{255, 255, 255};
    QImage buffer_;  // created on the first paint after a resize
};

}  // namespace oscilane
