#include "generator/generator_screen.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "generator/generator_window_texts.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

constexpr int kTracePenWidth = 2;
constexpr int kNoisePenWidth = 1;
constexpr int kArrowHead = 5;
constexpr int kThumbGap = 6;  // between the plot's bottom and the thumb
constexpr int kThumbHeight = 10;
constexpr int kListTop = 18;  // first parameter line, below the plot
constexpr int kLineHeight = 14;
constexpr int kLinesPerColumn = 5;  // two columns hold the longest list
constexpr int kPeakArrowGap = 4;    // between the peak-to-peak arrow and the plot

QString format(const char* pattern, double value) { return QString::asprintf(pattern, value); }

bool isNoise(WaveType type) { return type == WaveType::NoiseGauss || type == WaveType::NoiseWhite; }

// A line with an arrow head at each end.
void dimensionArrow(QPainter& p, QPoint from, QPoint to) {
    p.drawLine(from, to);
    const bool across = from.y() == to.y();
    for (const auto& [tip, back] : {std::pair{from, to}, std::pair{to, from}}) {
        const int sign = across ? (back.x() > tip.x() ? 1 : -1) : (back.y() > tip.y() ? 1 : -1);
        if (across) {
            p.drawLine(tip, tip + QPoint(sign * kArrowHead, -kArrowHead / 2 - 1));
            p.drawLine(tip, tip + QPoint(sign * kArrowHead, kArrowHead / 2 + 1));
        } else {
            p.drawLine(tip, tip + QPoint(-kArrowHead / 2 - 1, sign * kArrowHead));
            p.drawLine(tip, tip + QPoint(kArrowHead / 2 + 1, sign * kArrowHead));
        }
    }
}

}  // namespace

GeneratorScreen::GeneratorScreen(GeneratorWave& wave, QWidget* parent)
    : WaveScreen(Divisions{}, parent), wave_(wave) {
    setMouseTracking(true);
}

void GeneratorScreen::layOut() {
    setMargins(kMargin, kMargin, kMargin, kMargin);
    setBestFit(bestFit_);
    if (!bestFit_) {
        // A grid is needed once; after that it keeps its size until fitted.
        setBestFit(true);
        setBestFit(false);
    }
}

void GeneratorScreen::toggleBestFit() {
    bestFit_ = !bestFit_;
    setBestFit(bestFit_);
}

void GeneratorScreen::setCurrentIndex(int index) {
    current_ = previous_ = std::clamp(index, 0, std::max(wave_.sampleCount - 1, 0));
    cursor_ = QPoint(arb::CursorXForIndex(wave_, plotSpan(), current_), cursor_.y());
    update();
}

void GeneratorScreen::resetCursor() {
    cursor_ = QPoint(-1, -1);
    update();
}

void GeneratorScreen::bufferChanged() {
    arb::NormaliseView(wave_);
    current_ = previous_ = std::min(current_, std::max(wave_.sampleCount - 1, 0));
    thumbCentre_ = -1;
    update();
}

void GeneratorScreen::gridChanged() { thumbCentre_ = -1; }

QRect GeneratorScreen::thumbRect() const {
    if (!arbitrary() || !arb::ThumbShown(wave_) || grid().empty()) return {};
    const int centre = thumbCentre_ >= 0 ? thumbCentre_ : arb::ThumbCentreX(wave_, plotSpan());
    return QRect(QPoint(centre - 3, grid().bottom + kThumbGap),
                 QPoint(centre + 1, grid().bottom + kThumbGap + kThumbHeight - 1));
}

void GeneratorScreen::drawBeneathFrame(QPainter& painter) {
    painter.save();
    painter.setClipRect(grid().left, grid().top, grid().width() + 1, grid().height() + 1);
    if (arbitrary())
        drawArbitrary(painter);
    else
        drawStandard(painter);
    painter.restore();
}

void GeneratorScreen::drawStandard(QPainter& p) {
    const GridRect& g = grid();
    const double middle = g.top + g.height() / 2.0;
    const double half = g.height() / 2.0;
    QPolygon trace;
    trace.reserve(g.width());
    highY_ = lowY_ = 0;
    for (int x = g.left; x < g.right; ++x) {
        const double level = WaveValue(wave_, static_cast<double>(x - g.left) / g.width());
        const double at = std::clamp(middle - level * half, double(g.top), double(g.bottom));
        const int y = static_cast<int>(at);
        trace.append(QPoint(x, y));
        highY_ = highY_ == 0 ? y : std::min(highY_, y);
        lowY_ = lowY_ == 0 ? y : std::max(lowY_, y);
    }
    const int width = isNoise(EvaluationType(wave_)) ? kNoisePenWidth : kTracePenWidth;
    p.setPen(QPen(colour::kGeneratorTrace, width));
    p.drawPolyline(trace);
}

void GeneratorScreen::drawArbitrary(QPainter& p) {
    const GridRect& g = grid();
    const double middle = g.top + g.height() / 2.0;
    const double half = g.height() / 2.0;
    const int first = arb::FirstShown(wave_);
    const int span = std::min<int>(std::max<int>(wave_.viewSpan, 1), wave_.sampleCount - first);
    QPolygon trace;
    trace.reserve(std::max(span, 0));
    for (int k = 0; k < span; ++k) {
        const double volts = wave_.samples[static_cast<std::size_t>(first + k)];
        const double at =
            std::clamp(middle - volts / kFullScaleVolts * half, double(g.top), double(g.bottom));
        const int x = g.left + static_cast<int>(static_cast<double>(g.width()) * k /
                                                std::max<int>(wave_.viewSpan, 1));
        trace.append(QPoint(x, static_cast<int>(at)));
    }
    p.setPen(QPen(colour::kGeneratorTrace, kTracePenWidth));
    p.drawPolyline(trace);
}

void GeneratorScreen::drawAboveFrame(QPainter& p) {
    const GridRect& g = grid();
    p.setPen(colour::kGeneratorText);
    if (!arbitrary()) drawReadouts(p);
    if (const QRect thumb = thumbRect(); !thumb.isEmpty()) {
        p.drawLine(g.left, thumb.center().y(), g.right, thumb.center().y());
        p.fillRect(thumb, colour::kGeneratorThumb);
    }
    p.setPen(colour::kGeneratorText);
    const QStringList lines = parameterLines(wave_);
    // The "Arb" list is two lines and goes below the scroll thumb.
    const int listTop = g.bottom + kListTop + (arbitrary() ? kThumbGap + kThumbHeight : 0);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int column = static_cast<int>(i / kLinesPerColumn);
        const int row = static_cast<int>(i % kLinesPerColumn);
        p.drawText(g.left + column * (g.width() / 2), listTop + row * kLineHeight, lines[i]);
    }
}

QRect GeneratorScreen::plotArea() const {
    const int below = arbitrary() ? kThumbGap + kThumbHeight : kThumbGap;
    return QRect(0, 0, width(), std::min(height(), grid().bottom + below + 1));
}

void GeneratorScreen::drawReadouts(QPainter& p) {
    const GridRect& g = grid();
    const int periodWidth = g.width() / 2;
    p.drawText(g.left, g.top - 20, format(gentext::kFrequencyReadout, wave_.frequency));
    dimensionArrow(p, QPoint(g.left, g.top - 10), QPoint(g.left + periodWidth, g.top - 10));
    if (highY_ != 0 && lowY_ != 0) {
        const int x = g.left - kPeakArrowGap;
        const int middle = (highY_ + lowY_) / 2;
        p.drawText(g.left - kMargin + 2, middle - 2,
                   QString::fromLatin1(gentext::kPeakToPeakLabel));
        p.drawText(g.left - kMargin + 2, middle + 12,
                   format(gentext::kPeakToPeakValue, 2.0 * wave_.amplitude));
        if (lowY_ > highY_) dimensionArrow(p, QPoint(x, highY_), QPoint(x, lowY_));
    }
}

void GeneratorScreen::drawMarks(QPainter& p) {
    if (!arbitrary() || cursor_.x() < 0 || wave_.sampleCount == 0) return;
    const GridRect& g = grid();
    const int index = std::clamp(current_, 0, wave_.sampleCount - 1);
    const int x = arb::CursorXForIndex(wave_, plotSpan(), index);
    p.setPen(colour::kGeneratorCursor);
    if (x >= g.left && x <= g.right) p.drawLine(x, g.top, x, g.bottom);
    QFont font(QString::fromLatin1(gentext::kReadoutFont));
    font.setPixelSize(gentext::kReadoutFontPixels);
    p.setFont(font);
    const QString text = QString::asprintf(gentext::kCursorReadout,
                                           double(wave_.samples[static_cast<std::size_t>(index)]),
                                           gentext::kAtPoint, index);
    const int textX = std::min(x + 6, g.right - p.fontMetrics().horizontalAdvance(text));
    const int textY = std::clamp(cursor_.y(), g.top + gentext::kReadoutFontPixels, g.bottom - 4);
    p.drawText(textX, textY, text);
}

QStringList GeneratorScreen::parameterLines(const GeneratorWave& w) {
    QStringList lines;
    if (const std::string_view name = WaveTypeName(w.waveType); !name.empty())
        lines << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    const double vpp = 2.0 * w.amplitude;
    switch (w.waveType) {
        case WaveType::Dc:
            lines << format(gentext::kListOffset, w.offset);
            return lines;
        case WaveType::Arbitrary:
            lines << format(gentext::kListFrequency, w.frequency);
            return lines;
        case WaveType::NoiseGauss:
        case WaveType::NoiseWhite:
            lines << format(gentext::kListAmplitude, vpp);
            return lines;
        default:
            break;
    }
    lines << format(gentext::kListFrequency, w.frequency) << format(gentext::kListAmplitude, vpp)
          << format(gentext::kListOffset, w.offset) << format(gentext::kListPhase, w.phase);
    const auto yesNo = [](const char* pattern, bool yes, const char* yesText) {
        return QString::asprintf(pattern, yes ? yesText : gentext::kListNo);
    };
    switch (w.waveType) {
        case WaveType::Ramp:
            lines << format(gentext::kListDuty, w.rampDuty);
            break;
        case WaveType::Square:
            lines << format(gentext::kListDuty, w.squareDuty);
            break;
        case WaveType::Trapezia:
            lines << format(gentext::kListRiseDuty, w.riseDuty)
                  << format(gentext::kListFallDuty, w.fallDuty)
                  << format(gentext::kListHighDuty, w.highDuty);
            break;
        case WaveType::Exponent:
            lines << format(gentext::kListTau, w.tau)
                  << yesNo(gentext::kListRise, w.riseFlag != 0, gentext::kListRiseYes);
            break;
        case WaveType::AmFm:
            lines << format(gentext::kListHighFrequency, w.highFrequency)
                  << format(gentext::kListDepth, w.depth)
                  << yesNo(gentext::kListFmFlag, w.fmFlag != 0, gentext::kListFmYes)
                  << format(gentext::kListMaximumFrequency, w.maximumFrequency);
            break;
        default:
            break;
    }
    return lines;
}

void GeneratorScreen::moveThumbTo(int x) {
    const GridRect& g = grid();
    thumbCentre_ = std::clamp(x, g.left, g.right);
    wave_.viewStart = arb::StartForThumbCentre(plotSpan(), thumbCentre_);
    update();
}

void GeneratorScreen::mousePressEvent(QMouseEvent* event) {
    if (!arbitrary() || event->button() != Qt::LeftButton || grid().empty()) return;
    const QPoint at = event->position().toPoint();
    if (thumbRect().adjusted(-1, -1, 1, 1).contains(at)) {
        thumbDrag_ = true;
        return;
    }
    if (!grid().contains(at)) return;
    drawing_ = true;
    cursor_ = at;
    current_ = previous_ = arb::IndexAtX(wave_, plotSpan(), at.x());
    update();
}

void GeneratorScreen::mouseMoveEvent(QMouseEvent* event) {
    if (!arbitrary() || grid().empty()) return;
    const QPoint at = event->position().toPoint();
    if (thumbDrag_) {
        moveThumbTo(at.x());
        return;
    }
    if (!grid().contains(at)) return;
    cursor_ = at;
    current_ = arb::IndexAtX(wave_, plotSpan(), at.x());
    if (drawing_)
        arb::DrawSample(wave_, previous_, current_,
                        arb::VoltsAtY(at.y(), grid().top, grid().bottom));
    previous_ = current_;
    update();
}

void GeneratorScreen::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool wasEditing = drawing_ || thumbDrag_;
    drawing_ = thumbDrag_ = false;
    if (arbitrary() && wasEditing) emit edited();
}

void GeneratorScreen::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!arbitrary() || event->button() != Qt::LeftButton) return;
    if (!grid().contains(event->position().toPoint())) return;
    emit editPointRequested(current_);
}

}  // namespace oscilane
