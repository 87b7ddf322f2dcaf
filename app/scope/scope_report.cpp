#include "scope/scope_report.h"

#include <QPainter>
#include <QPolygon>

#include "display/report_page.h"
#include "model/scope_report_texts.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "scope/scope_data.h"
#include "shell/command_map.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

constexpr const char* kHeading = "Pirla - DSO";

QString text(const std::string& s) { return QString::fromStdString(s); }

QList<ReportLegendEntry> legendOf(const ScopeSettings& s) {
    const ReportLegendEntry all[] = {
        {QStringLiteral("CH1 :"), 50, 710, QRect(QPoint(140, 714), QPoint(240, 731)), colour::kCh1},
        {QStringLiteral("CH2 :"), 250, 710, QRect(QPoint(340, 713), QPoint(440, 730)),
         colour::kCh2},
        {QStringLiteral("MATH :"), 500, 710, QRect(QPoint(615, 713), QPoint(715, 730)),
         colour::kMath},
        {QStringLiteral("REF :"), 730, 710, QRect(QPoint(820, 714), QPoint(920, 731)),
         colour::kRef},
    };
    QList<ReportLegendEntry> legend;
    for (int c = kCh1; c <= kRef; ++c)
        if (s.shown(c)) legend << all[c];
    return legend;
}

// The printed graticule: as on the screen, 12 divisions across (the 1200
// samples span them) of 5 minor steps and 8 down of 4.
constexpr int kMinorAcross = 60;
constexpr int kMinorPerDivisionAcross = 5;
constexpr int kMinorDown = 32;
constexpr int kMinorPerDivisionDown = 4;

void drawGraticule(QPainter& p, const QRect& box) {
    const double left = box.left(), top = box.top();
    const double width = box.width(), height = box.height();
    const double sx = width / kMinorAcross, sy = height / kMinorDown;
    double ts = width * 3 / 499;
    ts = ts >= 4.5 ? 4.5 : ts < 2.5 ? 2 : ts;
    double tl = height * 4 / 255;
    tl = tl >= 6 ? 6 : tl < 4.5 ? 3 : tl;
    const double centreX = left + kMinorAcross / 2 * sx, centreY = top + kMinorDown / 2 * sy;
    const double right = left + width, bottom = top + height;
    auto line = [&p](double x1, double y1, double x2, double y2) {
        p.drawLine(QPoint(static_cast<int>(x1), static_cast<int>(y1)),
                   QPoint(static_cast<int>(x2), static_cast<int>(y2)));
    };
    auto dot = [&p](double x, double y) {
        p.drawPoint(QPoint(static_cast<int>(x), static_cast<int>(y)));
    };
    for (int k = 1; k < kMinorAcross; ++k) {
        const double x = left + k * sx;
        if (k == kMinorAcross / 2) {
            line(x, top, x, bottom);
        } else if (k % kMinorPerDivisionAcross == 0) {
            line(x, top, x, top + tl);
            line(x, bottom, x, bottom - tl);
            for (int j = 1; j < kMinorDown; ++j) dot(x, top + j * sy);
        } else {
            line(x, top, x, top + ts);
            line(x, bottom, x, bottom - ts);
        }
        line(x, centreY - ts - 1, x, centreY + ts);
    }
    for (int j = 1; j < kMinorDown; ++j) {
        const double y = top + j * sy;
        if (j == kMinorDown / 2) {
            line(left, y, right, y);
        } else if (j % kMinorPerDivisionDown == 0) {
            line(left, y, left + tl, y);
            line(right, y, right - tl, y);
            for (int k = 1; k < kMinorAcross; ++k) dot(left + k * sx, y);
        } else {
            line(left, y, left + ts, y);
            line(right, y, right - ts, y);
        }
        line(centreX - ts - 1, y, centreX + ts, y);
    }
}

// The trace as polylines through its on-grid codes; a code outside 0..255
// (a blanked sample) breaks the line instead of being drawn off the box.
void drawTrace(QPainter& p, const QRect& box, const ScopeSettings& s, int channel) {
    const double width = box.width(), height = box.height();
    const QColor& c = colour::ofWaveform(channel);
    p.setPen(QPen(c, 0));
    QPolygon run;
    auto flush = [&] {
        if (run.size() > 1) p.drawPolyline(run);
        if (run.size() == 1) p.drawPoint(run.front());
        run.clear();
    };
    const int samples = static_cast<int>(zelvo::layout::kSamplesPerTrace);
    for (int i = 0; i < samples; ++i) {
        const int code = s.sample(channel, i);
        if (code < 0 || code > kCodeMax) {
            flush();
            continue;
        }
        run << QPoint(static_cast<int>(box.left() + i * width / 1199),
                      static_cast<int>(box.top() + (255 - code) * height / 255));
    }
    flush();
    const int lever = s.position(channel);
    const int y0 = static_cast<int>(box.top() + lever * 255.0 / 199 * height / 255);
    const int d = static_cast<int>(16 * width / 1199);
    const QPoint triangle[] = {
        {box.left(), y0}, {box.left() - d, y0 - d}, {box.left() - d, y0 + d}};
    p.setBrush(c);
    p.drawPolygon(triangle, 3);
    p.setBrush(Qt::NoBrush);
}

}  // namespace

void drawScopeReport(QPainter& p, QSize page, const SettingBlock& block, const QDateTime& when) {
    const ScopeSettings s(block);
    p.save();
    drawReportFrame(p, page, QString::fromLatin1(kHeading), legendOf(s));

    p.setPen(QPen(Qt::black, 0));
    p.setFont(reportTextFont(page));
    const int x = static_cast<int>(page.width() * 0.05);
    const int xRight = static_cast<int>(page.width() * 0.5);
    auto at = [&page](double fraction) { return static_cast<int>(page.height() * fraction); };
    const QDate d = when.date();
    const QTime t = when.time();
    drawReportText(
        p, {x, at(0.13)},
        text(ReportDateLine({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()})));
    drawReportText(p, {x, at(0.74)}, text(ReportSamplingRateLine(s)));
    drawReportText(p, {xRight, at(0.74)}, text(ReportTimePerDivisionLine(s)));
    const double rows[] = {0.76, 0.78, 0.80, 0.82};
    for (int c = kCh1; c <= kRef; ++c) {
        if (!s.shown(c)) continue;
        const int y = at(rows[c]);
        drawReportText(p, {x, y}, text(ReportVoltLine(s, c)));
        if (c <= kCh2) drawReportText(p, {xRight, y}, text(ReportCouplingLine(s, c)));
        if (c == kMath) drawReportText(p, {xRight, y}, text(ReportMathLine(block)));
    }

    const QRect box(QPoint(static_cast<int>(page.width() * 0.05), at(0.152)),
                    QPoint(static_cast<int>(page.width() * 0.95), at(0.7)));
    drawGraticule(p, box);
    for (int c = kCh1; c <= kRef; ++c)
        if (s.shown(c)) drawTrace(p, box, s, c);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    p.restore();
}

bool writeScopeReportPdf(const QString& path, const SettingBlock& block, const QDateTime& when,
                         QString* reason) {
    return writeReportPdf(
        path,
        [&block](QPainter& p, QSize page, const QDateTime& at) {
            drawScopeReport(p, page, block, at);
        },
        when, reason);
}

ScopeReportCommands* installScopeReport(QWidget* view, CommandMap& commands,
                                        const ScopeData& data) {
    return installReportCommands(view, commands,
                                 [&data](QPainter& p, QSize page, const QDateTime& when) {
                                     drawScopeReport(p, page, data.displayedBlock, when);
                                 });
}

}  // namespace oscilane
