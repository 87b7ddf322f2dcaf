// A drawing surface with a graticule of square divisions on black, 12 x 8
// for both the scope and the generator's editor.  Knows nothing of
// instruments: subclasses draw their content over the graticule, and cursors
// or edit marks on a layer above it.
//
// Everything is drawn by render(), into whatever painter it is given: the
// widget's kept off-screen image (a repaint then reaches the screen as a
// copy, without flicker), a picture file or a printed page.
//
// What changes only with the size, the grid or the palette (the black
// ground, the graticule and the grid's frame) is drawn once into a kept
// layer and copied from there.  A subclass that reports every rectangle it
// draws into the screen's image (see drawn()) has only those rectangles
// restored from the layer at its next repaint; any other gets the whole
// layer each time.  Such a subclass can also have a frame drawn into the
// kept image at once (redraw()): the repaint that follows copies to the
// screen only the rectangles that may have changed.
#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <span>
#include <vector>

#include "display/drawn_area.h"
#include "display/grid_geometry.h"
#include "display/trace_spans.h"

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

    // Something shown changed: the next repaint draws the frame again and
    // copies all of it.  Use it, not update(), for every change of content.
    void changed();
    // Draws the frame into the kept image now and asks for a repaint of
    // only what may differ from the last frame.
    void redraw();

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
    // What stands above the frame and changes only with the settings
    // (labels, markers, a status line).  The screen keeps the pieces that
    // stay out of the grid in a layer of its own over the graticule, drawn
    // again only when fixturesChanged() says so, and draws those reaching
    // into the grid with every frame, after the frame and before
    // drawAboveFrame(); a picture or a page gets them all there.  Called
    // only for a non-empty grid.
    enum class FixtureLayer { Kept, OverFrame, All };
    virtual void drawFixtures(QPainter&, FixtureLayer) {}
    // Whether what drawFixtures() would draw now differs from what it drew
    // when last asked; asked once a frame.
    virtual bool fixturesChanged() { return false; }
    // The traces of a frame drawn into the screen's image, worked out
    // before anything of it is drawn: slot k of `traces` follows slot k of
    // the last frame's, and only what it does not set again is restored.
    // The subclass then sets them where they belong among its drawing with
    // setPreparedTraces(); otherwise they are set after drawBeneathFrame().
    virtual void prepareTraces(std::vector<TraceSpans>&) {}
    bool tracesPrepared() const { return tracesPending_; }
    void setPreparedTraces();
    // A resize forgets where the content was last laid out.
    virtual void gridChanged() {}
    // A frame has been drawn into the kept image.
    virtual void frameDrawn() {}
    // Whether the subclass reports all it draws through drawn().
    virtual bool reportsDrawing() const { return false; }
    // Where the subclass reports what it draws: the list of rectangles of
    // the screen's image to restore at the next repaint, or null when the
    // drawing goes elsewhere (a picture, a page) and needs no record.
    DrawnArea* drawn() { return recording_; }
    void noteDrawn(const QRect& rect) {
        if (recording_) recording_->add(rect);
    }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The order of the layers; `fromLayer` when the graticule and frame
    // are already there (an unscaled image) and need only be kept.
    void drawLayers(QPainter& painter, bool fromLayer);
    void drawGraticule(QPainter& painter) const;
    void drawFrame(QPainter& painter) const;
    // Brings the kept layer up to the size, grid and setting it shows.
    void updateLayer();
    // Copies `rects` of `source` into `image`, an image of the same size.
    static void restore(QImage& image, const QImage& source, std::span<const QRect> rects);
    // Brings the kept fixtures up to what the subclass would draw now.
    void updateFixtures();
    // What the screen's image shows where nothing of a frame is drawn.
    const QImage& beneathFrame() const { return fixturesKept_ ? fixtures_ : layer_; }
    // Brings the kept image up to the content; the rectangles of it that
    // may have changed.
    QRegion drawFrameImage();

    Divisions divisions_;
    Margins margins_;
    GridRect grid_;
    bool gridVisible_ = true;
    bool bestFit_ = false;
    QImage buffer_;  // created on the first paint after a resize

    struct LayerKey {
        QSize size;
        GridRect grid;
        bool gridVisible = true;
        bool operator==(const LayerKey&) const = default;
    };
    QImage layer_;  // ground, graticule and frame
    LayerKey layerKey_;
    bool layerStale_ = true;  // a palette or style change
    // What the last frame drew over the layers in buffer_, and whether all
    // of buffer_ must come from them again instead.
    DrawnArea drawn_;
    DrawnArea* recording_ = nullptr;  // where drawing is noted, if anywhere
    // The layer with the fixtures over it, and what of them it holds.
    QImage fixtures_;
    DrawnArea fixturesDrawn_;
    bool fixturesKept_ = false;
    bool fixturesStale_ = true;  // the layer under them was drawn again
    bool bufferFromLayer_ = false;
    // Whether the content changed since buffer_ was drawn, and what of
    // buffer_ a redraw() drew but no repaint has copied yet.
    bool contentChanged_ = true;
    QRegion uncopied_;
    // This frame's prepared traces and the last frame's, slot by slot, and
    // whether this frame's are still to be set.
    std::vector<TraceSpans> traces_, lastTraces_;
    bool tracesPending_ = false;
};

}  // namespace oscilane
