#include "scope/scope_overlays.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include "model/capture_block.h"
#include "model/measure_set.h"
#include "model/overlay_trace.h"
#include "scope/capture_window.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"
#include "scope/scope_screen.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

namespace text = scopefiletext;

constexpr double kDivisionsAcross = 12;
constexpr double kDivisionsDown = 8;
constexpr int kLegendFontPx = 11;
constexpr int kLegendInset = 4;  // from the grid's top-left corner

QString latin(const char* s) { return QString::fromLatin1(s); }

QString askOverlayFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, latin(text::kOverlayTitle), QString(),
                                        latin(text::kOpenCaptureFilters));
}

}  // namespace

void drawOverlays(QPainter& p, const GridRect& g, const ScopeSettings& live,
                  const std::vector<Overlay>& overlays) {
    if (overlays.empty() || g.empty()) return;
    const double w = g.width();
    const double h = g.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kLegendFontPx);
    font.setStyleStrategy(QFont::NoAntialias);  // the legend in exactly its colour
    p.setFont(font);
    const QFontMetrics metrics(font);
    for (std::size_t k = 0; k < overlays.size(); ++k) {
        const QColor& colour = colour::ofOverlay(static_cast<int>(k));
        QPen pen(colour, 0, Qt::DashLine);
        p.setPen(pen);
        const Capture& capture = overlays[k].capture;
        for (const CaptureTrace& trace : capture.traces) {
            const std::optional<OverlayScale> scale = LiveOverlayScale(live, trace.channel);
            if (!scale) continue;
            for (const auto& run : OverlayRuns(trace, capture.secondsPerDivision, *scale)) {
                QPolygonF line;
                line.reserve(static_cast<qsizetype>(run.size()));
                for (const GridPoint& at : run)
                    line.append({g.left + at.x * w / kDivisionsAcross,
                                 g.bottom - at.y * h / kDivisionsDown});
                p.drawPolyline(line);
            }
        }
        p.setPen(colour);
        const int baseline =
            g.top + kLegendInset + metrics.ascent() + static_cast<int>(k) * metrics.height();
        p.drawText(g.left + kLegendInset, baseline, overlays[k].name);
    }
    p.restore();
}

ScopeOverlays::ScopeOverlays(QWidget* view, ScopeScreen& screen, MeasureSet& measurements)
    : QObject(view),
      askFile(askOverlayFile),
      view_(view),
      screen_(screen),
      measurements_(measurements) {
    screen_.setTraceOverlay([this](QPainter& p, const GridRect& g, const ScopeSettings& s) {
        drawOverlays(p, g, s, overlays_);
        return !overlays_.empty();
    });
}

bool ScopeOverlays::add(const QString& path) {
    if (overlays_.size() >= kMaxOverlays) {
        showMessage(latin(text::kOverlaysFull), MessageKind::Warning);
        return false;
    }
    CaptureReadResult read = ReadCaptureFile(path.toStdString());
    if (const auto* error = std::get_if<CaptureReadError>(&read)) {
        showMessage(cannotOpenCaptureText(path, *error), MessageKind::Error);
        return false;
    }
    overlays_.push_back({QFileInfo(path).fileName(), std::get<Capture>(std::move(read))});
    changed();
    return true;
}

void ScopeOverlays::clear() {
    overlays_.clear();
    changed();
}

void ScopeOverlays::changed() {
    // The first overlay is measured at the scales that show it whole, as
    // an opened capture is.
    if (overlays_.empty()) {
        measurements_.setOverlay(std::nullopt);
    } else {
        const Capture& first = overlays_.front().capture;
        measurements_.setOverlay(CaptureBlock(first, FitCaptureScales(first)));
    }
    screen_.changed();
}

void ScopeOverlays::run() {
    const QString path = askFile(view_);
    if (!path.isEmpty()) add(path);
}

ScopeOverlays* installScopeOverlays(QWidget* view, CommandMap& commands, ScopeScreen& screen,
                                    MeasureSet& measurements) {
    auto* overlays = new ScopeOverlays(view, screen, measurements);
    commands.on(
        cmd::kScopeOverlay, [overlays] { overlays->run(); },
        [overlays] { return CommandState{overlays->overlays().size() < kMaxOverlays}; });
    commands.on(
        cmd::kScopeClearOverlays, [overlays] { overlays->clear(); },
        [overlays] { return CommandState{!overlays->overlays().empty()}; });
    return overlays;
}

}  // namespace oscilane
