#include "meter/meter_display.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "meter/meter_texts.h"
#include "model/meter_display_rules.h"
#include "model/meter_tables.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

constexpr int kUnitFontPx = 60;
constexpr int kStatusFontPx = 18;
constexpr int kRelFontPx = 12;
constexpr int kLabelFontPx = 14;
constexpr int kDotRadius = 8;
constexpr QPoint kDotCentre{15, 35};  // from the dot's position
constexpr int kDotAdvance = 20;
constexpr QSize kMinusBar{40, 10};
// The bar ends 10 px before the glyph to its right, whose segments start
// 10 px into its cell.
constexpr int kMinusAdvance = 20;
constexpr int kSegment = 6;  // thickness of a segment
constexpr int kBarPenPx = 5;
constexpr int kBarFullStep = 20;   // height of a filled step at a multiple of 5
constexpr int kBarShortStep = 12;  // and elsewhere

QFont arial(int pixels) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setWeight(QFont::Black);
    return f;
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lit segments a..g (bits 0..6) of each glyph.
uint8_t segmentsOf(char c) {
    static constexpr std::array<uint8_t, 10> kDigits{0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                     0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    if (c >= '0' && c <= '9') return kDigits[static_cast<std::size_t>(c - '0')];
    if (c == 'e') return 0x7B;
    return 0;
}

// One seven-segment glyph in its cell; the segments leave the cell's first
// 10 px free, the gap to the character on the left.  The unlit segments are
// drawn dim, as on a real display.
void drawGlyph(QPainter& p, const QRect& cell, uint8_t lit) {
    const int x = cell.left() + 10;
    const int y = cell.top();
    const int w = cell.width() - 10;
    const int half = cell.height() / 2;
    const std::array<QRect, 7> segments{{
        {x + kSegment, y, w - 2 * kSegment, kSegment},                             // a
        {x + w - kSegment, y + 3, kSegment, half - 4},                             // b
        {x + w - kSegment, y + half + 1, kSegment, half - 4},                      // c
        {x + kSegment, y + cell.height() - kSegment, w - 2 * kSegment, kSegment},  // d
        {x, y + half + 1, kSegment, half - 4},                                     // e
        {x, y + 3, kSegment, half - 4},                                            // f
        {x + kSegment, y + half - kSegment / 2, w - 2 * kSegment, kSegment},       // g
    }};
    for (std::size_t s = 0; s < segments.size(); ++s)
        p.fillRect(segments[s], (lit >> s) & 1 ? colour::kMeterText : colour::kMeterDimSegment);
}

void drawDigits(QPainter& p, QPoint anchor, const std::string& text) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kMeterText);
    for (const DigitShape& shape : DigitShapes(anchor, text)) {
        switch (shape.kind) {
            case DigitShape::Kind::Glyph:
                drawGlyph(p, shape.rect, segmentsOf(shape.glyph));
                break;
            case DigitShape::Kind::Dot:
                p.drawEllipse(shape.rect);
                break;
            case DigitShape::Kind::Minus:
                p.fillRect(shape.rect, colour::kMeterText);
                break;
        }
    }
    p.setBrush(Qt::NoBrush);
}

void drawBar(QPainter& p, QPoint anchor, int filled) {
    p.setPen(QPen(colour::kMeterText, 1));
    p.drawLine(anchor, anchor + QPoint(kBarSteps * kBarStepPx, 0));
    p.setFont(arial(kLabelFontPx - 2));
    const QFontMetrics metrics(p.font());
    for (int step = 0; step <= kBarSteps; step += 5) {
        const int x = anchor.x() + step * kBarStepPx;
        p.drawLine(x, anchor.y() + 2, x, anchor.y() + 7);
        const QString number = QString::number(step);
        p.drawText(x - metrics.horizontalAdvance(number) / 2, anchor.y() + 8 + metrics.ascent(),
                   number);
    }
    p.setPen(QPen(colour::kMeterText, kBarPenPx, Qt::SolidLine, Qt::FlatCap));
    for (int step = 1; step <= std::clamp(filled, 0, kBarSteps); ++step) {
        const int x = anchor.x() + step * kBarStepPx;
        const int height = step % 5 == 0 ? kBarFullStep : kBarShortStep;
        p.drawLine(x, anchor.y() - 2, x, anchor.y() - 2 - height);
    }
}

// Small pictures of the modes that have no unit of their own to show.
int drawModeSymbol(QPainter& p, int x, int y, uint8_t mode) {
    p.setPen(QPen(colour::kMeterText, 2));
    const int h = 16;
    switch (static_cast<MeasureMode>(mode)) {
        case MeasureMode::Diode: {
            const QPolygon triangle({QPoint(x, y), QPoint(x, y + h), QPoint(x + 14, y + h / 2)});
            p.setBrush(colour::kMeterText);
            p.drawPolygon(triangle);
            p.setBrush(Qt::NoBrush);
            p.drawLine(x + 15, y, x + 15, y + h);
            return 22;
        }
        case MeasureMode::Continuity:
            p.drawRect(x, y + 5, 5, 6);
            p.drawLine(x + 5, y + 5, x + 11, y);
            p.drawLine(x + 5, y + 11, x + 11, y + h);
            p.drawLine(x + 11, y, x + 11, y + h);
            p.drawArc(x + 8, y + 2, 10, 12, -60 * 16, 120 * 16);
            p.drawArc(x + 8, y - 2, 16, 20, -60 * 16, 120 * 16);
            return 28;
        case MeasureMode::Capacitance:
            p.drawLine(x, y + h / 2, x + 7, y + h / 2);
            p.drawLine(x + 7, y, x + 7, y + h);
            p.drawLine(x + 12, y, x + 12, y + h);
            p.drawLine(x + 12, y + h / 2, x + 19, y + h / 2);
            return 26;
        default:
            return 0;
    }
}

bool drawableMode(uint8_t mode) { return mode <= static_cast<uint8_t>(MeasureMode::Capacitance); }
bool showsAcDc(uint8_t mode) {
    return mode == static_cast<uint8_t>(MeasureMode::Voltage) ||
           mode == static_cast<uint8_t>(MeasureMode::Current);
}

void drawStatus(QPainter& p, QPoint at, const DmmInfo& r) {
    p.setFont(arial(kStatusFontPx));
    const QFontMetrics metrics(p.font());
    int x = at.x();
    const int baseline = at.y() + metrics.ascent();
    p.setPen(colour::kMeterText);
    const auto say = [&](const QString& text) {
        p.drawText(x, baseline, text);
        x += metrics.horizontalAdvance(text) + 14;
    };
    say(QString::fromLatin1(r.manualRange ? metertext::kManual : metertext::kAuto));
    // The meter reports its range index only in manual range; in automatic
    // range the index is whatever was last set by hand, so its label would
    // name a range the meter is not in.  No range label is shown there; the A
    // input's "10A" does not depend on the index.
    const bool onAmpsInput =
        r.measureMode == static_cast<uint8_t>(MeasureMode::Current) && !r.milliamps;
    if (r.manualRange || onAmpsInput) {
        const std::string_view range = RangeStatusLabel(r);
        if (!range.empty()) say(utf8(range));
    }
    if (showsAcDc(r.measureMode) && r.ac <= 1)
        say(QString::fromLatin1(r.ac ? metertext::kAc : metertext::kDc));
    x += drawModeSymbol(p, x, at.y() + 2, r.measureMode);
    if (r.rel) {
        x += 6;
        p.setPen(colour::kMeterText);
        say(QString::fromUtf8(metertext::kRelMark));
        p.setFont(arial(kRelFontPx));
        p.drawText(x - 8, baseline, utf8(RelReferenceText(r)));
    }
}

void drawLamp(QPainter& p, bool connected, bool linkLost) {
    p.setPen(Qt::NoPen);
    // Amber while connected to an instrument that no longer answers.
    p.setBrush(!connected ? colour::kDisconnected
               : linkLost ? colour::kLinkLost
                          : colour::kConnected);
    p.drawEllipse(QRect(10, 10, 10, 10));
    p.setBrush(Qt::NoBrush);
    if (linkLost) {
        p.setPen(QPen(colour::kMeterWarning, 3));
        p.drawLine(5, 24, 21, 40);
        p.drawLine(21, 24, 5, 40);
    }
}

// A base-unit value with the prefix that keeps its mantissa below 1000.
QString engineering(double value, uint8_t unitIndex) {
    static constexpr std::array<const char*, 4> kUnits{"V", "A", "\u03a9", "F"};
    static constexpr std::array<std::pair<int, const char*>, 8> kPrefixes{{
        {9, "G"},
        {6, "M"},
        {3, "k"},
        {0, ""},
        {-3, "m"},
        {-6, "\u03bc"},
        {-9, "n"},
        {-12, "p"},
    }};
    const double magnitude = std::fabs(value);
    auto chosen = kPrefixes.back();
    for (const auto& prefix : kPrefixes) {
        if (magnitude >= std::pow(10.0, prefix.first)) {
            chosen = prefix;
            break;
        }
    }
    if (magnitude == 0) chosen = {0, ""};
    char number[32];
    std::snprintf(number, sizeof number, "%.4g", value / std::pow(10.0, chosen.first));
    const char* unit = unitIndex < kUnits.size() ? kUnits[unitIndex] : "";
    return QString::fromLatin1(number) + QLatin1Char(' ') + QString::fromUtf8(chosen.second) +
           QString::fromUtf8(unit);
}

void drawTrend(QPainter& p, const QRect& plot, const MeterPicture& picture) {
    p.setPen(QPen(colour::kMeterFrame, 1));
    p.drawRect(plot);
    const int middle = plot.center().y();
    p.setPen(QPen(colour::kMeterFrame, 1, Qt::DotLine));
    p.drawLine(plot.left(), middle, plot.right(), middle);

    const std::optional<TrendScale> scale = TrendFullScale(picture.record, picture.trend);
    if (!scale || scale->fullScale <= 0) return;
    p.setFont(arial(kLabelFontPx));
    p.setPen(colour::kMeterText);
    const QRect labels(0, plot.top(), plot.left() - 8, plot.height());
    p.drawText(labels, Qt::AlignRight | Qt::AlignTop, utf8(scale->label));
    p.drawText(labels, Qt::AlignRight | Qt::AlignBottom, QLatin1Char('-') + utf8(scale->label));

    QPainterPath line;
    bool drawing = false;
    double low = 0, high = 0, sum = 0;
    int counted = 0;
    for (std::size_t i = 0; i < picture.trend.size(); ++i) {
        const std::optional<double> value = TrendBaseValue(picture.trend[i]);
        if (!value) {
            drawing = false;  // an overload leaves a gap
            continue;
        }
        low = counted ? std::min(low, *value) : *value;
        high = counted ? std::max(high, *value) : *value;
        sum += *value;
        ++counted;
        const double x = plot.left() + static_cast<double>(i) * plot.width() /
                                           static_cast<double>(kTrendCapacity);
        double y = middle - *value / scale->fullScale * plot.height() / 2;
        y = std::clamp(y, static_cast<double>(plot.top()), static_cast<double>(plot.bottom()));
        if (drawing)
            line.lineTo(x, y);
        else
            line.moveTo(x, y);
        drawing = true;
    }
    p.setPen(QPen(colour::kMeterTrend, 2));
    p.drawPath(line);

    if (counted == 0) return;
    const uint8_t unit = picture.trend.back().unitIndex;
    p.setPen(colour::kMeterText);
    p.setFont(arial(kLabelFontPx - 2));
    const QFontMetrics metrics(p.font());
    const int x = plot.right() + 10;
    int y = plot.top() + metrics.ascent();
    const std::pair<const char*, double> rows[] = {{metertext::kTrendMaximum, high},
                                                   {metertext::kTrendMinimum, low},
                                                   {metertext::kTrendMean, sum / counted}};
    for (const auto& [name, value] : rows) {
        p.drawText(x, y, QString::fromLatin1(name));
        p.drawText(x, y + metrics.height(), engineering(value, unit));
        y += 2 * metrics.height() + 6;
    }
}

}  // namespace

std::vector<DigitShape> DigitShapes(QPoint anchor, const std::string& text) {
    std::vector<DigitShape> shapes;
    QPoint at = anchor;
    for (auto c = text.rbegin(); c != text.rend(); ++c) {
        if (*c == '.') {
            at.rx() -= kDotAdvance;
            const QPoint centre = at + kDotCentre;
            shapes.push_back(
                {DigitShape::Kind::Dot, QRect(centre.x() - kDotRadius, centre.y() - kDotRadius,
                                              2 * kDotRadius, 2 * kDotRadius)});
        } else if (*c == '-') {
            at.rx() -= kMinusAdvance;
            shapes.push_back(
                {DigitShape::Kind::Minus,
                 QRect(at - QPoint(kMinusBar.width() / 2, kMinusBar.height() / 2), kMinusBar)});
        } else {
            at.rx() -= kDigitWidth;
            shapes.push_back({DigitShape::Kind::Glyph,
                              QRect(at.x(), at.y() - kDigitHeight / 2, kDigitWidth, kDigitHeight),
                              *c});
        }
    }
    return shapes;
}

MeterLayout MeterLayout::of(QSize panel) {
    const int w = std::max(panel.width(), MeterDisplay::kMinimumSize.width());
    const int h = std::max(panel.height(), MeterDisplay::kMinimumSize.height());
    MeterLayout l;
    l.digitAnchor = QPoint(w / 2 + 150, 50 + kDigitHeight / 2);
    l.barAnchor = QPoint(w / 2 - kBarSteps * kBarStepPx / 2, 185);
    l.trend = QRect(QPoint(kTrendMargins[0], kTrendMargins[1]),
                    QPoint(w - kTrendMargins[2], h - kTrendMargins[3]));
    l.statusText = QPoint(100, 5);
    l.statusLine = QRect(30, h - kTrendMargins[3] + 4, w - 60, kTrendMargins[3] - 6);
    return l;
}

std::string MeterStatusLine(const MeterPicture& picture) {
    std::string line = picture.logError;
    const auto add = [&line](const char* text) {
        if (!line.empty()) line += "  ";
        line += text;
    };
    if (picture.stale) add(metertext::kStaleReading);
    if (picture.hasReading) {
        if (!drawableMode(picture.record.measureMode))
            add(metertext::kCannotDrawMode);
        else if (showsAcDc(picture.record.measureMode) && picture.record.ac > 1)
            add(metertext::kCannotDrawAcDc);
    }
    return line;
}

void PaintMeter(QPainter& p, const QRect& area, const MeterPicture& picture) {
    if (area.isEmpty()) return;
    p.save();
    p.translate(area.topLeft());
    p.setClipRect(QRect(QPoint(0, 0), area.size()));
    const MeterLayout layout = MeterLayout::of(area.size());
    p.fillRect(QRect(QPoint(0, 0), area.size()), colour::kBackground);
    p.setPen(QPen(colour::kMeterFrame, 2));
    p.drawRoundedRect(QRect(QPoint(1, 1), area.size() - QSize(3, 3)), 8, 8);

    drawTrend(p, layout.trend, picture);

    const DmmInfo& r = picture.record;
    const bool drawable = picture.hasReading && drawableMode(r.measureMode);
    drawDigits(p, layout.digitAnchor,
               drawable ? DigitText(r.value, r.overload != 0, r.decimalScale) : std::string());
    if (drawable) {
        p.setFont(arial(kUnitFontPx));
        p.setPen(colour::kMeterText);
        const QPoint unit = layout.digitAnchor + kUnitOffset;
        p.drawText(unit.x(), unit.y() + QFontMetrics(p.font()).ascent(),
                   utf8(ScreenUnitText(r.prefixIndex, r.unitIndex)));
    }
    drawBar(p, layout.barAnchor, drawable ? BarSteps(r) : 0);
    if (picture.connected && drawable) drawStatus(p, layout.statusText, r);
    drawLamp(p, picture.connected, picture.linkLost);

    const std::string status = MeterStatusLine(picture);
    if (!status.empty()) {
        p.setFont(arial(kLabelFontPx));
        p.setPen(colour::kMeterWarning);
        p.drawText(layout.statusLine, Qt::AlignLeft | Qt::AlignVCenter, utf8(status));
    }
    p.restore();
}

MeterDisplay::MeterDisplay(std::function<MeterPicture()> source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
    setMinimumSize(kMinimumSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MeterDisplay::paintEvent(QPaintEvent*) {
    shown_ = source_();
    // Drawn whole into memory first, then shown in one copy, so a repaint
    // every 100 ms never flickers.
    QImage frame(size(), QImage::Format_RGB32);
    {
        QPainter memory(&frame);
        memory.setRenderHint(QPainter::Antialiasing);
        PaintMeter(memory, frame.rect(), shown_);
    }
    QPainter screen(this);
    screen.drawImage(0, 0, frame);
}

}  // namespace oscilane
