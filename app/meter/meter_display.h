// The meter window's drawn display: the reading in seven-segment digits with
// its unit, the 60-step bar, the status texts and mode symbols, the REL
// reference, the connection lamp and link-error mark, and the trend plot
// with its full scale, labels and the minimum, maximum and mean of the
// readings it holds.  Every number comes from the model's display rules; this
// file only places and draws them.
#pragma once

#include <QRect>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "model/meter_reading.h"
#include "zelvo/zelvo_common.h"

class QPainter;

namespace oscilane {

// What one repaint shows, copied from the meter's data in one go.
struct MeterPicture {
    DmmInfo record{};
    bool hasReading = false;
    bool connected = false;
    bool linkLost = false;
    bool stale = false;  // no good poll for a while: the reading is not current
    std::vector<MeterReading> trend;
    std::string logError;  // the log writer's complaint, empty while it writes
};

// Where the parts of the display sit in a panel of the given size.
struct MeterLayout {
    QPoint digitAnchor;  // right end of the digits, at their mid-height
    QPoint barAnchor;    // left end of the bar's base line
    QRect trend;         // the trend plot
    QPoint statusText;   // top left of the status texts
    QRect statusLine;    // the warning line below the plot
    static MeterLayout of(QSize panel);
};

// The panel's margins around the trend plot: left, top, right, bottom.
inline constexpr int kTrendMargins[4] = {150, 240, 150, 30};
inline constexpr int kDigitWidth = 50;  // the advance of a seven-segment glyph
inline constexpr int kDigitHeight = 70;
inline constexpr int kBarStepPx = 10;
// The unit text's top left, from the digit anchor.
inline constexpr QPoint kUnitOffset{40, -10};

// One character of the digit text as drawn.  The characters are placed right
// to left from the anchor: each moves the position left by its advance (a
// glyph 50 px, a point 20 px, the minus 20 px) and is drawn from there.
struct DigitShape {
    enum class Kind { Glyph, Dot, Minus };
    Kind kind;
    // Glyph: its 50 px cell, centred on the position's height.  Dot: the
    // square around the filled circle of radius 8 centred 15 px right of and
    // 35 px below the position, on the glyphs' bottom.  Minus: the 40 x 10
    // bar centred on the position.
    QRect rect;
    char glyph = 0;  // '0'..'9' or 'e' for a glyph
};
std::vector<DigitShape> DigitShapes(QPoint anchor, const std::string& text);

// The warning the status line shows: the log writer's error, a stale
// reading, and the record's mode or AC/DC value when no drawing case covers
// it.  Empty when all is well.
std::string MeterStatusLine(const MeterPicture& picture);

// Draws the whole display into area.
void PaintMeter(QPainter& p, const QRect& area, const MeterPicture& picture);

class MeterDisplay : public QWidget {
    Q_OBJECT
  public:
    static constexpr QSize kMinimumSize{680, 500};

    // source gives a fresh picture for each repaint.
    explicit MeterDisplay(std::function<MeterPicture()> source, QWidget* parent = nullptr);

    // The picture the last repaint showed.
    const MeterPicture& shown() const { return shown_; }
    QSize sizeHint() const override { return kMinimumSize; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<MeterPicture()> source_;
    MeterPicture shown_;
};

}  // namespace oscilane
