// The generator window's display: the designed wave on the shared display
// surface, and the arbitrary-waveform editor.
//
// A standard wave is plotted from WaveValue, two periods, one evaluation per
// pixel column, with its frequency and peak-to-peak read-outs.  An "Arb" wave
// shows a zoomed window of its sample buffer that the user draws into with
// the left mouse button; a double click asks for the "Edit Point" dialog.
// The parameters of the current type are listed under the plot.
#pragma once

#include <QPoint>
#include <QRect>
#include <QStringList>

#include "display/wave_screen.h"
#include "generator/arb_edit.h"
#include "model/generator_wave.h"

namespace oscilane {

class GeneratorScreen : public WaveScreen {
    Q_OBJECT
  public:
    static constexpr int kMargin = 80;

    explicit GeneratorScreen(GeneratorWave& wave, QWidget* parent = nullptr);

    // Sets the display margins and fits the grid; the window does it on its
    // timer's first tick.
    void layOut();
    bool bestFit() const { return bestFit_; }
    void toggleBestFit();

    // The editor's current sample and the cursor column that marks it.
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    // Forgets the cursor, as a zoom does.
    void resetCursor();
    // The buffer changed as a whole (a switch to "Arb", a loaded file).
    void bufferChanged();

    arb::PlotSpan plotSpan() const { return {grid().left, grid().right}; }
    // The scroll thumb's rectangle below the plot; empty when not shown.
    QRect thumbRect() const;
    bool drawing() const { return drawing_; }
    bool draggingThumb() const { return thumbDrag_; }

    // The plot with its read-outs and scroll thumb: the whole width, down to
    // just above the parameter list.
    QRect plotArea() const;

    // The lines listed under the plot for the wave: the type's name first
    // (none for type 7), then one line per parameter.
    static QStringList parameterLines(const GeneratorWave& wave);

  signals:
    // A mouse edit ended (button released over an "Arb" wave).
    void edited();
    // A double click on the plot of an "Arb" wave asks to edit this sample.
    void editPointRequested(int index);

  protected:
    void drawBeneathFrame(QPainter& painter) override;
    void drawAboveFrame(QPainter& painter) override;
    void drawMarks(QPainter& painter) override;
    void gridChanged() override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool arbitrary() const { return wave_.waveType == WaveType::Arbitrary; }
    void drawStandard(QPainter& painter);
    void drawArbitrary(QPainter& painter);
    void drawReadouts(QPainter& painter);
    void moveThumbTo(int x);

    GeneratorWave& wave_;
    bool bestFit_ = true;
    bool drawing_ = false;
    bool thumbDrag_ = false;
    int current_ = 0;
    int previous_ = 0;
    QPoint cursor_{-1, -1};
    int thumbCentre_ = -1;  // -1: where the view start puts it
    // The highest and lowest rows the standard plot reached, 0 before any.
    int highY_ = 0;
    int lowY_ = 0;
};

}  // namespace oscilane
