#include "scope/cursor_layer.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "model/scope_tool_texts.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

constexpr int kReadoutGap = 30;  // from the grid's right edge
constexpr int kMarkHalfWidth = 10;

QString text(const std::string& s) { return QString::fromStdString(s); }
QString text(const char* s) { return QString::fromLatin1(s); }

const QColor& readoutColour(int channel) {
    return channel >= kCh1 && channel <= kMath ? colour::ofWaveform(channel) : colour::kCh1;
}

int insideX(const GridRect& g, int x) { return std::clamp(x, g.left + 1, g.right - 1); }
int insideY(const GridRect& g, int y) { return std::clamp(y, g.top + 1, g.bottom - 1); }

void horizontalLine(QPainter& p, const GridRect& g, int y) {
    p.drawLine(g.left + 1, y, g.right, y);
}
void verticalLine(QPainter& p, const GridRect& g, int x) { p.drawLine(x, g.top + 1, x, g.bottom); }

void drawTraceMark(QPainter& p, const GridRect& g, const ScopeSettings& s, int channel,
                   QPoint latest) {
    const std::optional<TraceMark> mark =
        TraceMarkAt(s, channel, latest.x() - g.left, g.width(), g.height());
    if (!mark) return;
    const int x = g.left + mark->x;
    const int y = g.top + mark->y;
    p.drawLine(insideX(g, x - kMarkHalfWidth), y, insideX(g, x + kMarkHalfWidth), y);
    p.drawLine(x, g.top + 1, x, g.bottom - 1);
    const QPoint corner1(insideX(g, x - 4), insideY(g, y - 4));
    const QPoint corner2(insideX(g, x + 5), insideY(g, y + 5));
    p.drawRect(QRect(corner1, corner2 - QPoint(1, 1)));
}

}  // namespace

void clampCursorPoints(const GridRect& g, QPoint& first, QPoint& latest) {
    for (QPoint* point : {&first, &latest})
        *point = QPoint(insideX(g, point->x()), insideY(g, point->y()));
}

void drawCursorLines(QPainter& p, const GridRect& g, const ScopeSettings& s,
                     const CursorChoice& choice, QPoint first, QPoint latest) {
    if (choice.type == CursorType::None) return;
    const QPen dotted(colour::kCursor, 0, Qt::DotLine);
    const QPen solid(colour::kCursor, 0, Qt::SolidLine);
    p.setBrush(Qt::NoBrush);
    const bool horizontal =
        choice.type == CursorType::Cross || choice.type == CursorType::Horizontal;
    const bool vertical = choice.type == CursorType::Cross || choice.type == CursorType::Vertical;
    if (choice.type == CursorType::Trace) {
        p.setPen(solid);
        drawTraceMark(p, g, s, choice.channel, latest);
        return;
    }
    // The latest point's lines first, so the start point's solid lines stay whole.
    p.setPen(dotted);
    if (horizontal) horizontalLine(p, g, latest.y());
    if (vertical) verticalLine(p, g, latest.x());
    p.setPen(solid);
    if (horizontal) horizontalLine(p, g, first.y());
    if (vertical) verticalLine(p, g, first.x());
}

std::vector<ReadoutLine> cursorReadoutLines(const GridRect& g, const ScopeSettings& s,
                                            const CursorChoice& choice, QPoint first,
                                            QPoint latest) {
    const int c = choice.channel;
    const int dx = std::abs(latest.x() - first.x());
    const int dy = latest.y() - first.y();
    const int w = g.width();
    const int h = g.height();
    const auto frequency = [&] { return text(CursorFrequency(s, c, dx, w)); };
    const auto time = [&] { return text(CursorTime(s, c, dx, w)); };
    const auto voltage = [&] { return text(CursorVoltage(s, c, dy, h)); };
    using tooltext::kFrequency, tooltext::kTime, tooltext::kVoltage;
    switch (choice.type) {
        case CursorType::Cross:
            if (CursorOnFft(s, c))
                return {{0, text(kFrequency)},
                        {20, frequency()},
                        {50, text(kVoltage)},
                        {70, voltage()}};
            return {{0, text(kFrequency)}, {20, frequency()},     {50, text(kTime)},
                    {70, time()},          {100, text(kVoltage)}, {120, voltage()}};
        case CursorType::Trace:
            return {{0, text(kVoltage)}, {20, text(TraceVoltage(s, c, latest.x() - g.left, w))}};
        case CursorType::Vertical:
            if (c == kMath || s.mathOperator() == kFftOperator)
                return {{0, text(kFrequency)}, {20, frequency()}};
            return {{0, text(kFrequency)}, {20, frequency()}, {50, text(kTime)}, {70, time()}};
        case CursorType::Horizontal:
            return {{100, text(kVoltage)}, {120, voltage()}};
        case CursorType::None:
            break;
    }
    return {};
}

void drawCursorReadouts(QPainter& p, const GridRect& g, const ScopeSettings& s,
                        const CursorChoice& choice, QPoint first, QPoint latest) {
    p.setPen(readoutColour(choice.channel));
    for (const ReadoutLine& line : cursorReadoutLines(g, s, choice, first, latest))
        p.drawText(QRect(g.right + kReadoutGap, g.top + line.y, 4000, 400),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, line.text);
}

}  // namespace oscilane
