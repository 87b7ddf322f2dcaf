// Draws the application's pictures (tool bar buttons, browser images, the
// close button, the window icon and the splash picture) into PNG files, so
// that every picture comes from one consistent drawing style.
//
// Usage: oscilane_draw_resources OUTPUT_DIR
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
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

const std::vector<std::pair<QString, Drawing>>& toolBarButtons() {
    static const std::vector<std::pair<QString, Drawing>> buttons = {
        {"new_scope",
         [](QPainter& p, double s) {
             tile(p, s);
             QRectF r(s * 0.14, s * 0.16, s * 0.62, s * 0.5);
             screen(p, r);
             sine(p, r, kTrace, s / 18, 1.5);
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
    for (const auto& [name, draw] : browserImages()) ok &= save(render(16, draw), dir, name);
    ok &= save(render(14, closeButton), dir, "close");
    ok &= save(render(48, toolBarButtons().front().second), dir, "oscilane");
    ok &= save(splash(), dir, "splash");
    return ok ? 0 : 1;
}
