// Draws the application's pictures (the main, scope and meter tool bar buttons,
// browser images, the close button, the window icon and the splash picture)
// into PNG files, so that every picture comes from one consistent drawing
// style.  The desktop's application icon goes, as SVG and in three PNG sizes,
// into OUTPUT_DIR/hicolor/ laid out as the icon theme folders are installed.
//
// Usage: oscilane_draw_resources OUTPUT_DIR
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QTextStream>
#include <cmath>
#include <functional>

namespace {

const QColor kTileTop(58, 84, 122);
const QColor kTileBottom(28, 40, 62);
const QColor kTrace(240, 240, 0);  // the first channel's colour
const QColor kTrace2(0, 255, 0);
const QColor kGrid(200, 200, 200);
const QColor kGlyph(236, 240, 246);

using Drawing = std::function<void(QPainter&, double)>;

QImage render(int size, const Drawing& draw) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, size);
    return image;
}

// The rounded tile every tool bar button sits on.
void tile(QPainter& p, double s) {
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, kTileTop);
    g.setColorAt(1, kTileBottom);
    p.setPen(QPen(QColor(18, 24, 36), s / 42));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s - 3), s * 0.18, s * 0.18);
}

// A small black screen with a faint grid, as on the instrument.
void screen(QPainter& p, const QRectF& r) {
    p.setPen(QPen(kGrid, std::max(0.6, r.width() / 40)));
    p.setBrush(Qt::black);
    p.drawRect(r);
    p.setPen(QPen(QColor(90, 90, 90), std::max(0.5, r.width() / 60)));
    for (int i = 1; i < 4; ++i) {
        double x = r.left() + r.width() * i / 4;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    for (int i = 1; i < 3; ++i) {
        double y = r.top() + r.height() * i / 3;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void sine(QPainter& p, const QRectF& r, const QColor& c, double width, double cycles) {
    QPainterPath path;
    for (int i = 0; i <= 60; ++i) {
        double t = i / 60.0;
        QPointF pt(r.left() + t * r.width(),
                   r.center().y() - std::sin(t * cycles * 2 * M_PI) * r.height() * 0.35);
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void square(QPainter& p, const QRectF& r, const QColor& c, double width) {
    double y0 = r.top() + r.height() * 0.2, y1 = r.bottom() - r.height() * 0.2;
    QPolygonF wave;
    for (int i = 0; i < 4; ++i) {
        double x0 = r.left() + r.width() * i / 4, x1 = r.left() + r.width() * (i + 1) / 4;
        double y = (i % 2) ? y1 : y0;
        wave << QPointF(x0, y) << QPointF(x1, y);
    }
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(wave);
}

// The "+" badge of the new-document buttons.
void plusBadge(QPainter& p, double s) {
    QRectF b(s * 0.58, s * 0.58, s * 0.36, s * 0.36);
    p.setPen(QPen(QColor(20, 60, 20), s / 42));
    p.setBrush(QColor(80, 200, 90));
    p.drawEllipse(b);
    p.setPen(QPen(Qt::white, s / 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(b.center().x(), b.top() + b.height() * 0.25),
               QPointF(b.center().x(), b.bottom() - b.height() * 0.25));
    p.drawLine(QPointF(b.left() + b.width() * 0.25, b.center().y()),
               QPointF(b.right() - b.width() * 0.25, b.center().y()));
}

void meterFace(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(20, 20, 20), r.width() / 30));
    p.setBrush(QColor(210, 160, 40));
    p.drawRoundedRect(r, r.width() * 0.12, r.width() * 0.12);
    QRectF lcd(r.left() + r.width() * 0.12, r.top() + r.height() * 0.12, r.width() * 0.76,
               r.height() * 0.38);
    p.setBrush(QColor(170, 200, 160));
    p.drawRect(lcd);
    QFont f("DejaVu Sans Mono");
    f.setPixelSize(static_cast<int>(lcd.height() * 0.8));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 30, 20));
    p.drawText(lcd, Qt::AlignCenter, "8.8");
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(r.center().x(), r.bottom() - r.height() * 0.26), r.width() * 0.16,
                  r.width() * 0.16);
}

// A window outline with a title strip, for the window arrangement buttons.
void window(QPainter& p, const QRectF& r, double s) {
    p.setPen(QPen(QColor(20, 20, 30), s / 42));
    p.setBrush(kGlyph);
    p.drawRect(r);
    p.setBrush(QColor(90, 140, 210));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), std::max(2.0, r.height() * 0.2)));
}

// A tile with a trace of the first channel on a screen.
void scopeTile(QPainter& p, double s, const QRectF& r, double cycles) {
    tile(p, s);
    screen(p, r);
    sine(p, r, kTrace, s / 18, cycles);
}

// The screen of a scope tile that leaves the lower right corner for a badge.
QRectF badgedScreen(double s) { return {s * 0.14, s * 0.16, s * 0.62, s * 0.5}; }

const std::vector<std::pair<QString, Drawing>>& toolBarButtons() {
    static const std::vector<std::pair<QString, Drawing>> buttons = {
        {"new_scope",
         [](QPainter& p, double s) {
             scopeTile(p, s, badgedScreen(s), 1.5);
             plusBadge(p, s);
         }},
        {"new_meter",
         [](QPainter& p, double s) {
             tile(p, s);
             meterFace(p, QRectF(s * 0.16, s * 0.12, s * 0.46, s * 0.66));
             plusBadge(p, s);
         }},
        {"new_generator",
         [](QPainter& p, double s) {
             tile(p, s);
             QRectF r(s * 0.14, s * 0.16, s * 0.62, s * 0.5);
             screen(p, r);
             square(p, r, kTrace2, s / 18);
             plusBadge(p, s);
         }},
        {"cascade",
         [](QPainter& p, double s) {
             tile(p, s);
             for (int i = 0; i < 3; ++i)
                 window(p, QRectF(s * (0.16 + 0.12 * i), s * (0.16 + 0.12 * i), s * 0.44, s * 0.4),
                        s);
         }},
        {"tile_horizontal",
         [](QPainter& p, double s) {
             tile(p, s);
             window(p, QRectF(s * 0.18, s * 0.16, s * 0.64, s * 0.31), s);
             window(p, QRectF(s * 0.18, s * 0.53, s * 0.64, s * 0.31), s);
         }},
        {"tile_vertical",
         [](QPainter& p, double s) {
             tile(p, s);
             window(p, QRectF(s * 0.16, s * 0.18, s * 0.31, s * 0.64), s);
             window(p, QRectF(s * 0.53, s * 0.18, s * 0.31, s * 0.64), s);
         }},
        {"about",
         [](QPainter& p, double s) {
             tile(p, s);
             QRectF c(s * 0.22, s * 0.22, s * 0.56, s * 0.56);
             p.setPen(QPen(kGlyph, s / 16));
             p.setBrush(QColor(60, 120, 200));
             p.drawEllipse(c);
             QFont f("DejaVu Serif");
             f.setPixelSize(static_cast<int>(s * 0.42));
             f.setBold(true);
             p.setFont(f);
             p.setPen(kGlyph);
             p.drawText(c, Qt::AlignCenter, "i");
         }},
    };
    return buttons;
}

const QColor kCursor(0, 200, 255);
const QColor kAccentBlue(60, 120, 200);
const QColor kAccentGreen(80, 200, 90);
const QColor kAccentRed(220, 70, 60);
const QColor kOutline(20, 20, 30);
const QColor kMetal(205, 210, 218);

// A round badge in the lower right corner, as on the new-document buttons.
QRectF badge(QPainter& p, double s, const QColor& fill) {
    QRectF b(s * 0.54, s * 0.54, s * 0.4, s * 0.4);
    p.setPen(QPen(kOutline, s / 42));
    p.setBrush(fill);
    p.drawEllipse(b);
    return b;
}

// A gear of eight teeth around a hole.
void gear(QPainter& p, const QPointF& c, double r, double s) {
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double a = (i - 0.5) * M_PI / (teeth * 2);
        const double radius = (i % 4 < 2) ? r : r * 0.72;
        const QPointF pt(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(c, r * 0.3, r * 0.3);
    p.setPen(QPen(kOutline, s / 42));
    p.setBrush(kMetal);
    p.drawPath(path);
}

// A circular arrow running counter-clockwise, its head on the right pointing up.
void circularArrow(QPainter& p, const QRectF& r, double s) {
    const QRectF ring =
        r.adjusted(r.width() * 0.22, r.height() * 0.22, -r.width() * 0.22, -r.height() * 0.22);
    QPainterPath arc;
    arc.arcMoveTo(ring, 100);
    arc.arcTo(ring, 100, 260);
    p.setPen(QPen(kGlyph, s / 16, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const QPointF end = arc.pointAtPercent(1);
    const double angle = arc.angleAtPercent(1) * M_PI / 180;
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF across(-along.y(), along.x());
    const double h = ring.width() * 0.55;
    QPolygonF head;
    head << end + along * h * 0.9 << end + across * h * 0.8 << end - across * h * 0.8;
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawPolygon(head);
}

// A plug pointing right: coloured body, two metal pins ending at tip, cable
// leaving to the left.
void plug(QPainter& p, const QPointF& tip, double u, const QColor& body, double cable) {
    const double bodyRight = tip.x() - u;
    p.setPen(QPen(kGlyph, u * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(bodyRight - 1.4 * u, tip.y()),
               QPointF(bodyRight - 1.4 * u - cable, tip.y()));
    p.setPen(QPen(kMetal, u * 0.28, Qt::SolidLine, Qt::FlatCap));
    for (double dy : {-0.38 * u, 0.38 * u})
        p.drawLine(QPointF(bodyRight, tip.y() + dy), QPointF(tip.x(), tip.y() + dy));
    p.setPen(QPen(kOutline, u * 0.14));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(bodyRight - 1.4 * u, tip.y() - 0.8 * u, 1.4 * u, 1.6 * u), u * 0.3,
                      u * 0.3);
}

// A socket whose face (with two holes) looks left, cable leaving to the right.
void socket(QPainter& p, const QPointF& face, double u, double cable) {
    p.setPen(QPen(kGlyph, u * 0.45, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(face.x() + 1.6 * u, face.y()),
               QPointF(face.x() + 1.6 * u + cable, face.y()));
    p.setPen(QPen(kOutline, u * 0.14));
    p.setBrush(kGlyph);
    p.drawRoundedRect(QRectF(face.x(), face.y() - 0.9 * u, 1.6 * u, 1.8 * u), u * 0.3, u * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 50));
    for (double dy : {-0.38 * u, 0.38 * u})
        p.drawRect(QRectF(face.x(), face.y() + dy - 0.18 * u, 0.5 * u, 0.36 * u));
}

// A short straight stroke with round caps.
void stroke(QPainter& p, const QPointF& a, const QPointF& b, const QColor& c, double width) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
}

// The scope window's tool bar buttons.
const std::vector<std::pair<QString, Drawing>>& scopeToolBarButtons() {
    static const std::vector<std::pair<QString, Drawing>> buttons = {
        {"scope_save",
         [](QPainter& p, double s) {
             tile(p, s);
             const QRectF disk(s * 0.2, s * 0.18, s * 0.6, s * 0.64);
             QPainterPath body;
             body.moveTo(disk.topLeft());
             body.lineTo(disk.right() - s * 0.1, disk.top());
             body.lineTo(disk.right(), disk.top() + s * 0.1);
             body.lineTo(disk.bottomRight());
             body.lineTo(disk.bottomLeft());
             body.closeSubpath();
             p.setPen(QPen(kOutline, s / 42));
             p.setBrush(kAccentBlue);
             p.drawPath(body);
             p.setBrush(kMetal);
             p.drawRect(QRectF(s * 0.32, disk.top(), s * 0.32, s * 0.18));
             p.setBrush(QColor(40, 60, 100));
             p.drawRect(QRectF(s * 0.52, disk.top() + s * 0.03, s * 0.07, s * 0.12));
             const QRectF label(s * 0.28, s * 0.46, s * 0.44, s * 0.3);
             screen(p, label);
             sine(p, label, kTrace, s / 24, 1.0);
         }},
        {"scope_print",
         [](QPainter& p, double s) {
             tile(p, s);
             p.setPen(QPen(kOutline, s / 42));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(s * 0.3, s * 0.14, s * 0.4, s * 0.24));
             p.setBrush(kMetal);
             p.drawRoundedRect(QRectF(s * 0.14, s * 0.34, s * 0.72, s * 0.32), s * 0.05, s * 0.05);
             p.setBrush(kAccentGreen);
             p.drawEllipse(QPointF(s * 0.76, s * 0.42), s * 0.035, s * 0.035);
             const QRectF paper(s * 0.26, s * 0.54, s * 0.48, s * 0.32);
             p.setBrush(Qt::white);
             p.drawRect(paper);
             sine(p, paper.adjusted(s * 0.04, 0, -s * 0.04, 0), kAccentBlue, s / 20, 1.0);
         }},
        {"scope_panel",
         [](QPainter& p, double s) {
             tile(p, s);
             const QRectF w(s * 0.14, s * 0.18, s * 0.72, s * 0.64);
             window(p, w, s);
             const double top = w.top() + std::max(2.0, w.height() * 0.2);
             const QRectF side(w.left(), top, w.width() * 0.34, w.bottom() - top);
             p.setPen(QPen(kOutline, s / 42));
             p.setBrush(QColor(150, 165, 190));
             p.drawRect(side);
             p.setBrush(kGlyph);
             for (int i = 0; i < 3; ++i)
                 p.drawEllipse(
                     QPointF(side.center().x(), side.top() + side.height() * (i + 0.5) / 3),
                     s * 0.04, s * 0.04);
             const QRectF scr(side.right() + s * 0.04, top + s * 0.05,
                              w.right() - side.right() - s * 0.08, w.bottom() - top - s * 0.1);
             screen(p, scr);
             sine(p, scr, kTrace, s / 24, 1.0);
         }},
        {"scope_setups",
         [](QPainter& p, double s) {
             scopeTile(p, s, badgedScreen(s), 1.5);
             gear(p, QPointF(s * 0.7, s * 0.7), s * 0.2, s);
         }},
        {"scope_update",
         [](QPainter& p, double s) {
             scopeTile(p, s, badgedScreen(s), 1.5);
             circularArrow(p, badge(p, s, kAccentBlue), s);
         }},
        {"scope_cursor",
         [](QPainter& p, double s) {
             const QRectF r(s * 0.14, s * 0.16, s * 0.72, s * 0.68);
             scopeTile(p, s, r, 1.0);
             QPen dashed(kCursor, s / 28);
             dashed.setDashPattern({2.5, 1.5});
             p.setPen(dashed);
             p.drawLine(QPointF(s * 0.4, r.top()), QPointF(s * 0.4, r.bottom()));
             p.drawLine(QPointF(r.left(), s * 0.4), QPointF(r.right(), s * 0.4));
         }},
        {"scope_measure",
         [](QPainter& p, double s) {
             const QRectF r(s * 0.14, s * 0.14, s * 0.72, s * 0.48);
             scopeTile(p, s, r, 1.0);
             // The trace's peak and trough with the span between them.
             const double hi = r.center().y() - r.height() * 0.35;
             const double lo = r.center().y() + r.height() * 0.35;
             const double x = r.left() + r.width() * 0.5;
             stroke(p, QPointF(x - s * 0.05, hi), QPointF(x + s * 0.05, hi), kCursor, s / 30);
             stroke(p, QPointF(x - s * 0.05, lo), QPointF(x + s * 0.05, lo), kCursor, s / 30);
             stroke(p, QPointF(x, hi), QPointF(x, lo), kCursor, s / 30);
             const QRectF ruler(s * 0.12, s * 0.66, s * 0.76, s * 0.18);
             p.setPen(QPen(kOutline, s / 42));
             p.setBrush(QColor(230, 200, 120));
             p.drawRect(ruler);
             p.setPen(QPen(kOutline, s / 36));
             for (int i = 1; i < 10; ++i) {
                 const double tx = ruler.left() + ruler.width() * i / 10;
                 const double len = ruler.height() * (i % 5 == 0 ? 0.65 : 0.38);
                 p.drawLine(QPointF(tx, ruler.top()), QPointF(tx, ruler.top() + len));
             }
         }},
        {"scope_option",
         [](QPainter& p, double s) {
             tile(p, s);
             const QRectF sheet(s * 0.14, s * 0.12, s * 0.5, s * 0.5);
             p.setPen(QPen(kOutline, s / 42));
             p.setBrush(Qt::white);
             p.drawRect(sheet);
             for (int i = 0; i < 4; ++i) {
                 const double y = sheet.top() + sheet.height() * (i + 0.5) / 4;
                 if (i == 1) {
                     p.setPen(Qt::NoPen);
                     p.setBrush(QColor(90, 140, 210));
                     p.drawRect(QRectF(sheet.left() + s * 0.02, y - s * 0.055,
                                       sheet.width() - s * 0.04, s * 0.11));
                 }
                 stroke(p, QPointF(sheet.left() + s * 0.08, y), QPointF(sheet.right() - s * 0.1, y),
                        i == 1 ? Qt::white : QColor(90, 90, 100), s / 24);
             }
             plug(p, QPointF(s * 0.88, s * 0.76), s * 0.12, kAccentBlue, s * 0.3);
         }},
        {"scope_connect",
         [](QPainter& p, double s) {
             tile(p, s);
             const double u = s * 0.15;
             // The socket hides the pins it takes in.
             plug(p, QPointF(s * 0.58, s * 0.5), u, kAccentGreen, s * 0.2);
             socket(p, QPointF(s * 0.49, s * 0.5), u, s * 0.2);
         }},
        {"scope_disconnect",
         [](QPainter& p, double s) {
             tile(p, s);
             const double u = s * 0.15;
             socket(p, QPointF(s * 0.6, s * 0.5), u, s * 0.2);
             plug(p, QPointF(s * 0.44, s * 0.5), u, kAccentRed, s * 0.2);
             // The break between them.
             stroke(p, QPointF(s * 0.47, s * 0.22), QPointF(s * 0.55, s * 0.32), kAccentRed,
                    s / 20);
             stroke(p, QPointF(s * 0.47, s * 0.78), QPointF(s * 0.55, s * 0.68), kAccentRed,
                    s / 20);
         }},
    };
    return buttons;
}

// The measure bar's buttons: a small screen with the measured waveform, the
// measured feature marked in the cursor colour, and a short label below.
enum class Mark { None, Top, Base, Middle, Span, PeakSpan, Period, High, Low, Rise, Fall, Delay };

void measureTile(QPainter& p, double s, bool pulse, Mark mark, const QString& label) {
    tile(p, s);
    const QRectF r(s * 0.12, s * 0.1, s * 0.76, s * 0.52);
    screen(p, r);
    if (pulse)
        square(p, r.adjusted(0, r.height() * 0.15, 0, -r.height() * 0.15), kTrace, s / 24);
    else
        sine(p, r.adjusted(0, r.height() * 0.1, 0, -r.height() * 0.1), kTrace, s / 24, 1.0);
    const double hi = r.top() + r.height() * (pulse ? 0.15 : 0.1);
    const double lo = r.bottom() - r.height() * (pulse ? 0.15 : 0.1);
    const double mid = (hi + lo) / 2;
    const double w = s / 30;
    auto across = [&](double y) {
        stroke(p, QPointF(r.left(), y), QPointF(r.right(), y), kCursor, w);
    };
    auto upright = [&](double x) {
        stroke(p, QPointF(x, r.top()), QPointF(x, r.bottom()), kCursor, w);
    };
    switch (mark) {
        case Mark::Top:
            across(hi);
            break;
        case Mark::Base:
            across(lo);
            break;
        case Mark::Middle:
            across(mid);
            break;
        case Mark::Span:
        case Mark::PeakSpan: {
            const double x = r.left() + r.width() * (mark == Mark::Span ? 0.5 : 0.25);
            stroke(p, QPointF(x, hi), QPointF(x, lo), kCursor, w);
            stroke(p, QPointF(x - s * 0.04, hi), QPointF(x + s * 0.04, hi), kCursor, w);
            stroke(p, QPointF(x - s * 0.04, lo), QPointF(x + s * 0.04, lo), kCursor, w);
            break;
        }
        case Mark::Period:
            upright(r.left() + r.width() * 0.02);
            upright(r.right() - r.width() * 0.02);
            break;
        case Mark::High:
            upright(r.left());
            upright(r.center().x());
            break;
        case Mark::Low:
            upright(r.center().x());
            upright(r.right());
            break;
        case Mark::Rise:
            upright(r.left() + r.width() * 0.08);
            upright(r.left() + r.width() * 0.2);
            break;
        case Mark::Fall:
            upright(r.center().x() - r.width() * 0.06);
            upright(r.center().x() + r.width() * 0.06);
            break;
        case Mark::Delay:
            square(p, r.adjusted(r.width() * 0.15, r.height() * 0.3, 0, -r.height() * 0.05),
                   kTrace2, s / 30);
            upright(r.left() + r.width() * 0.02);
            upright(r.left() + r.width() * 0.17);
            break;
        case Mark::None:
            break;
    }
    QFont font("DejaVu Sans");
    font.setPixelSize(static_cast<int>(s * 0.26));
    font.setBold(true);
    p.setFont(font);
    p.setPen(kGlyph);
    p.drawText(QRectF(0, s * 0.62, s, s * 0.34), Qt::AlignCenter, label);
}

const std::vector<std::pair<QString, Drawing>>& measureToolBarButtons() {
    struct Button {
        const char* name;
        bool pulse;
        Mark mark;
        const char* label;
    };
    static const Button kButtons[] = {
        {"measure_vpp", false, Mark::PeakSpan, "Vpp"},
        {"measure_vmax", false, Mark::Top, "Max"},
        {"measure_vmin", false, Mark::Base, "Min"},
        {"measure_vamp", true, Mark::Span, "Amp"},
        {"measure_vtop", true, Mark::Top, "Top"},
        {"measure_vmid", true, Mark::Middle, "Mid"},
        {"measure_vbase", true, Mark::Base, "Base"},
        {"measure_vavg", false, Mark::Middle, "Avg"},
        {"measure_vcrms", false, Mark::Period, "CRms"},
        {"measure_vrms", false, Mark::None, "Rms"},
        {"measure_preshoot", true, Mark::Base, "Pre"},
        {"measure_overshoot", true, Mark::Top, "Over"},
        {"measure_period", false, Mark::Period, "Prd"},
        {"measure_frequency", false, Mark::Period, "Freq"},
        {"measure_rise", true, Mark::Rise, "Rise"},
        {"measure_fall", true, Mark::Fall, "Fall"},
        {"measure_pos_duty", true, Mark::High, "+Dty"},
        {"measure_neg_duty", true, Mark::Low, "-Dty"},
        {"measure_pos_width", true, Mark::High, "+Wid"},
        {"measure_neg_width", true, Mark::Low, "-Wid"},
        {"measure_pos_delay", true, Mark::Delay, "+Dly"},
        {"measure_neg_delay", true, Mark::Delay, "-Dly"},
    };
    static const std::vector<std::pair<QString, Drawing>> buttons = [] {
        std::vector<std::pair<QString, Drawing>> list;
        for (const Button& b : kButtons)
            list.emplace_back(QString::fromLatin1(b.name), [b](QPainter& p, double s) {
                measureTile(p, s, b.pulse, b.mark, QString::fromLatin1(b.label));
            });
        return list;
    }();
    return buttons;
}

// The meter window's measure-mode buttons: the meter's dark display with the
// mode's sign in the display's cyan.
const QColor kMeterCyan(0, 255, 255);

QRectF meterDisplay(QPainter& p, double s) {
    tile(p, s);
    const QRectF r(s * 0.14, s * 0.16, s * 0.72, s * 0.68);
    p.setPen(QPen(kGrid, s / 42));
    p.setBrush(Qt::black);
    p.drawRoundedRect(r, s * 0.06, s * 0.06);
    return r;
}

void meterLetter(QPainter& p, double s, const QString& letter) {
    const QRectF r = meterDisplay(p, s);
    QFont font("DejaVu Sans");
    font.setPixelSize(static_cast<int>(s * 0.5));
    font.setBold(true);
    p.setFont(font);
    p.setPen(kMeterCyan);
    p.drawText(r, Qt::AlignCenter, letter);
}

const std::vector<std::pair<QString, Drawing>>& meterToolBarButtons() {
    static const std::vector<std::pair<QString, Drawing>> buttons = {
        {"meter_voltage", [](QPainter& p, double s) { meterLetter(p, s, "V"); }},
        {"meter_current", [](QPainter& p, double s) { meterLetter(p, s, "A"); }},
        {"meter_ohm", [](QPainter& p, double s) { meterLetter(p, s, QString(QChar(0x03A9))); }},
        {"meter_diode",
         [](QPainter& p, double s) {
             const QRectF r = meterDisplay(p, s);
             const double y = r.center().y(), h = s * 0.16;
             const double a = r.center().x() - s * 0.1, b = r.center().x() + s * 0.1;
             stroke(p, QPointF(r.left() + s * 0.06, y), QPointF(r.right() - s * 0.06, y),
                    kMeterCyan, s / 24);
             QPainterPath arrow;
             arrow.moveTo(a, y - h);
             arrow.lineTo(b, y);
             arrow.lineTo(a, y + h);
             arrow.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(kMeterCyan);
             p.drawPath(arrow);
             stroke(p, QPointF(b, y - h), QPointF(b, y + h), kMeterCyan, s / 20);
         }},
        {"meter_continuity",
         [](QPainter& p, double s) {
             const QRectF r = meterDisplay(p, s);
             const double y = r.center().y(), x = r.left() + s * 0.12;
             // A loudspeaker and the sound it gives.
             QPainterPath speaker;
             speaker.moveTo(x, y - s * 0.06);
             speaker.lineTo(x + s * 0.07, y - s * 0.06);
             speaker.lineTo(x + s * 0.17, y - s * 0.15);
             speaker.lineTo(x + s * 0.17, y + s * 0.15);
             speaker.lineTo(x + s * 0.07, y + s * 0.06);
             speaker.lineTo(x, y + s * 0.06);
             speaker.closeSubpath();
             p.setPen(Qt::NoPen);
             p.setBrush(kMeterCyan);
             p.drawPath(speaker);
             p.setPen(QPen(kMeterCyan, s / 26, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             for (int i = 1; i <= 2; ++i) {
                 const double d = s * 0.1 * i;
                 p.drawArc(QRectF(x + s * 0.17 - d, y - d, 2 * d, 2 * d), -45 * 16, 90 * 16);
             }
         }},
        {"meter_capacitance",
         [](QPainter& p, double s) {
             const QRectF r = meterDisplay(p, s);
             const double y = r.center().y(), h = s * 0.18, gap = s * 0.05;
             const double cx = r.center().x();
             stroke(p, QPointF(r.left() + s * 0.06, y), QPointF(cx - gap, y), kMeterCyan, s / 24);
             stroke(p, QPointF(cx + gap, y), QPointF(r.right() - s * 0.06, y), kMeterCyan, s / 24);
             stroke(p, QPointF(cx - gap, y - h), QPointF(cx - gap, y + h), kMeterCyan, s / 16);
             stroke(p, QPointF(cx + gap, y - h), QPointF(cx + gap, y + h), kMeterCyan, s / 16);
         }},
    };
    return buttons;
}

// 16-pixel browser images, in image-number order.
const std::vector<std::pair<QString, Drawing>>& browserImages() {
    static const std::vector<std::pair<QString, Drawing>> images = {
        {"browser_root",
         [](QPainter& p, double s) {
             p.setPen(QPen(QColor(120, 90, 20), 1));
             p.setBrush(QColor(240, 200, 90));
             p.drawRoundedRect(QRectF(1.5, 3.5, s - 3, s - 6), 1.5, 1.5);
             p.setBrush(QColor(250, 225, 140));
             p.drawRect(QRectF(1.5, 6.5, s - 3, s - 9));
         }},
        {"browser_scope",
         [](QPainter& p, double s) {
             QRectF r(1.5, 2.5, s - 3, s - 5);
             screen(p, r);
             sine(p, r, kTrace, 1.4, 1.0);
         }},
        {"browser_meter", [](QPainter& p, double s) { meterFace(p, QRectF(3, 1, s - 6, s - 2)); }},
        {"browser_generator",
         [](QPainter& p, double s) {
             QRectF r(1.5, 2.5, s - 3, s - 5);
             screen(p, r);
             square(p, r, kTrace2, 1.4);
         }},
        {"browser_sheet",
         [](QPainter& p, double s) {
             p.setPen(QPen(QColor(60, 90, 60), 1));
             p.setBrush(Qt::white);
             p.drawRect(QRectF(1.5, 1.5, s - 3, s - 3));
             p.setBrush(QColor(120, 180, 120));
             p.drawRect(QRectF(1.5, 1.5, s - 3, 3));
             for (int i = 1; i < 4; ++i)
                 p.drawLine(QPointF(1.5, 1.5 + 3.5 * i + 1), QPointF(s - 1.5, 1.5 + 3.5 * i + 1));
             p.drawLine(QPointF(s / 2, 1.5), QPointF(s / 2, s - 1.5));
         }},
        {"browser_recorder",
         [](QPainter& p, double s) {
             p.setPen(QPen(QColor(60, 60, 60), 1));
             p.setBrush(QColor(245, 245, 235));
             p.drawRect(QRectF(1.5, 1.5, s - 3, s - 3));
             QPainterPath strip;
             strip.moveTo(2, s * 0.6);
             strip.lineTo(s * 0.3, s * 0.4);
             strip.lineTo(s * 0.5, s * 0.7);
             strip.lineTo(s * 0.75, s * 0.3);
             strip.lineTo(s - 2, s * 0.5);
             p.setPen(QPen(QColor(200, 40, 40), 1.4));
             p.setBrush(Qt::NoBrush);
             p.drawPath(strip);
         }},
    };
    return images;
}

void closeButton(QPainter& p, double s) {
    p.setPen(QPen(QColor(60, 60, 60), s / 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.22, s * 0.22), QPointF(s * 0.78, s * 0.78));
    p.drawLine(QPointF(s * 0.78, s * 0.22), QPointF(s * 0.22, s * 0.78));
}

QImage splash() {
    const int w = 520, h = 300;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kTileTop);
    g.setColorAt(1, kTileBottom);
    p.fillRect(image.rect(), g);
    QRectF r(300, 60, 190, 140);
    screen(p, r);
    sine(p, r, kTrace, 2.5, 2.0);
    square(p, r.adjusted(0, 30, 0, 30).intersected(r), kTrace2, 2.0);
    QFont title("DejaVu Sans");
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(kGlyph);
    p.drawText(QRectF(30, 70, 270, 70), Qt::AlignLeft | Qt::AlignVCenter, "Oscilane");
    QFont sub("DejaVu Sans");
    sub.setPixelSize(20);
    p.setFont(sub);
    p.setPen(QColor(190, 205, 225));
    p.drawText(QRectF(34, 140, 270, 30), Qt::AlignLeft | Qt::AlignVCenter, "for Zelvo");
    p.drawText(QRectF(34, 170, 270, 30), Qt::AlignLeft | Qt::AlignVCenter, "Ver 1.03");
    QFont small("DejaVu Sans");
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(150, 165, 190));
    p.drawText(QRectF(30, 250, 460, 24), Qt::AlignLeft | Qt::AlignVCenter,
               "Oscilloscope  \u00b7  Multimeter  \u00b7  Function generator");
    return image;
}

bool save(const QImage& image, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name + ".png");
    if (image.save(path, "PNG")) return true;
    QTextStream(stderr) << "cannot write " << path << "\n";
    return false;
}

// The desktop's application icon: an instrument screen showing both
// channels on the tool bar tile.
void applicationIcon(QPainter& p, double s) {
    tile(p, s);
    const QRectF r(s * 0.14, s * 0.18, s * 0.72, s * 0.64);
    screen(p, r);
    square(p, r.adjusted(0, r.height() * 0.1, 0, -r.height() * 0.1), kTrace2, s / 28);
    sine(p, r, kTrace, s / 18, 1.5);
}

// The name the desktop entry gives the icon.
const char* const kApplicationIconName = "org.oscilane.Oscilane";
constexpr int kScalableIconSize = 256;

bool saveApplicationIcons(const QDir& dir) {
    bool ok = true;
    for (int size : {48, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        ok &= dir.mkpath(folder) &&
              save(render(size, applicationIcon), QDir(dir.filePath(folder)), kApplicationIconName);
    }
    const QString folder = QStringLiteral("hicolor/scalable/apps");
    const QString path = dir.filePath(folder + "/" + kApplicationIconName + ".svg");
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kScalableIconSize, kScalableIconSize));
    svg.setViewBox(QRect(0, 0, kScalableIconSize, kScalableIconSize));
    svg.setTitle(QStringLiteral("Oscilane"));
    QPainter p;
    if (!dir.mkpath(folder) || !p.begin(&svg)) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    applicationIcon(p, kScalableIconSize);
    return p.end() && ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: oscilane_draw_resources OUTPUT_DIR\n";
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const auto& [name, draw] : toolBarButtons()) ok &= save(render(42, draw), dir, name);
    for (const auto& [name, draw] : scopeToolBarButtons()) ok &= save(render(42, draw), dir, name);
    for (const auto& [name, draw] : measureToolBarButtons())
        ok &= save(render(42, draw), dir, name);
    for (const auto& [name, draw] : meterToolBarButtons()) ok &= save(render(42, draw), dir, name);
    for (const auto& [name, draw] : browserImages()) ok &= save(render(16, draw), dir, name);
    ok &= save(render(14, closeButton), dir, "close");
    ok &= save(render(48, toolBarButtons().front().second), dir, "oscilane");
    ok &= save(splash(), dir, "splash");
    ok &= saveApplicationIcons(dir);
    return ok ? 0 : 1;
}
