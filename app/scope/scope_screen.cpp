#include "scope/scope_screen.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <vector>

#include "display/trace_raster.h"
#include "model/formatting.h"
#include "model/scope_scales.h"
#include "model/scope_status_line.h"
#include "model/scope_texts.h"
#include "scope/cursor_layer.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

QFont pixelFont(const char* family, int pixels) {
    QFont font;
    // "Arial" resolves to a metric-compatible face where it is not installed.
    font.setFamilies({QString::fromLatin1(family), QStringLiteral("Liberation Sans")});
    font.setPixelSize(pixels);
    return font;
}

const QFont& channelDigitFont(int pixels) {
    static const QFont f13 = pixelFont("MS PMincho", 13);
    static const QFont f12 = pixelFont("MS PMincho", 12);
    return pixels == 12 ? f12 : f13;
}
const QFont& letterFont() {
    static const QFont f = pixelFont("Arial", 13);
    return f;
}
const QFont& triggerLetterFont() {
    static const QFont f = pixelFont("Arial", 14);
    return f;
}
const QFont& measurementFont() {
    static const QFont f = pixelFont("Arial", 15);
    return f;
}

// The status line sits in the band between the grid's frame and the MATH
// and REF labels at grid bottom + 20.  Within the grid's width nothing else
// reaches below the frame: level markers stand left of the grid, trigger
// markers right of it, and the measurement texts inside it.
constexpr int kStatusTopOffset = 3;      // below the grid's bottom edge
constexpr int kStatusBottomOffset = 19;  // the last row above the labels
constexpr int kStatusFontPx = 11;
constexpr int kStatusSmallestFontPx = 8;
constexpr int kStatusGapPx = 12;  // between two pieces

const QColor& statusColour(StatusColour c) {
    switch (c) {
        case StatusColour::Ch1:
            return colour::kCh1;
        case StatusColour::Ch2:
            return colour::kCh2;
        case StatusColour::ExtTrigger:
            return colour::kExtTrigger;
        case StatusColour::LinkLost:
            return colour::kLinkLost;
        case StatusColour::Plain:
            break;
    }
    return colour::kStatusText;
}

bool isSampleCode(int code) { return code >= 0 && code <= kCodeMax; }

// A pixel coordinate within [low, high], truncated toward zero.  Clamped
// before the conversion: a block's step, origin or scale can put a point
// far past the int range, and it must still land on the near edge.
int pixelWithin(double value, int low, int high) {
    return static_cast<int>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

// Sample code scale of a trace relative to its current volts per division;
// a zero divisor (nothing uploaded yet) leaves the codes as they are.
double gainOf(double numerator, double denominator) {
    return denominator == 0 ? 1.0 : numerator / denominator;
}

double liveGain(const ScopeSettings& s, int w) {
    const std::optional<double> perDivision = MillivoltsPerDivision(s.voltsIndex(w));
    if (!perDivision) return 1.0;
    return gainOf(*perDivision, s.voltsValue10uV(w) * 0.01);
}

const char* markerLabel(int marker) {
    static constexpr const char* kLabels[] = {"1", "2", "M", "R", "T", "T", "T", "T", "1"};
    return kLabels[marker];
}

const QFont& markerLabelFont(int marker) {
    if (marker == kCh1LevelMarker || marker == kCh2LevelMarker) return channelDigitFont(13);
    if (marker == kMathLevelMarker || marker == kRefLevelMarker) return letterFont();
    if (marker == kXyHorizontalMarker) return channelDigitFont(12);
    return triggerLetterFont();
}

const QColor& markerColour(int marker) {
    switch (marker) {
        case kCh1TriggerMarker:
        case kXyHorizontalMarker:
            return colour::kCh1;
        case kCh2TriggerMarker:
            return colour::kCh2;
        case kExtTriggerMarker:
            return colour::kExtTrigger;
        case kHorizontalTriggerMarker:
            return colour::kHorizontalTrigger;
        default:
            return colour::ofWaveform(marker);
    }
}

}  // namespace

ScopeScreen::ScopeScreen(const ScopeData& scopeData, const ScopeLinkState& state,
                         CommandSink& commands, QWidget* parent)
    : WaveScreen(Divisions{}, parent), data_(scopeData), state_(state), commands_(commands) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void ScopeScreen::setMeasurementTexts(const std::array<MeasurementText, kMeasurementSlots>& texts) {
    measurements_ = texts;
}

void ScopeScreen::gridChanged() { computedFrom_.fill(std::nullopt); }

ScopeScreen::Shown ScopeScreen::current() const {
    return Shown{data_.displayedBlock,
                 state_.connected(),
                 state_.deviceRemoved(),
                 cursor_.type,
                 cursor_.channel,
                 cursor1_,
                 cursor2_,
                 markers_,
                 measurements_,
                 statusMark_};
}

void ScopeScreen::frameDrawn() {
    // After the drawing: it has brought the markers up to the settings.
    shown_ = current();
}

void ScopeScreen::refresh() {
    if (!shown_ || current() != *shown_) redraw();
}

bool ScopeScreen::markerShown(int marker) const {
    // An empty grid draws no marker, and one grabbed there would have no
    // scale to turn its place into a setting.
    if (!state_.connected() || grid().empty()) return false;
    const ScopeSettings s = settings();
    const bool yt = s.isFormat(DisplayFormat::YT);
    const bool alt = s.altTrigger();
    switch (marker) {
        case kCh1LevelMarker:
            return s.shown(kCh1) && !s.isFormat(DisplayFormat::XY);
        case kCh2LevelMarker:
        case kMathLevelMarker:
        case kRefLevelMarker:
            return s.shown(marker);
        case kCh1TriggerMarker:
            return yt && (alt || s.triggerSource() == kCh1);
        case kCh2TriggerMarker:
            return yt && (alt || s.triggerSource() == kCh2);
        case kExtTriggerMarker:
            return yt && !alt && s.triggerSource() == kExtSource;
        case kHorizontalTriggerMarker:
            return yt;
        default:
            return s.isFormat(DisplayFormat::XY);
    }
}

int ScopeScreen::markerSetting(int marker, const ScopeSettings& s) const {
    switch (marker) {
        case kCh1TriggerMarker:
        case kExtTriggerMarker:
            return s.triggerLevel(kCh1);
        case kCh2TriggerMarker:
            return s.triggerLevel(kCh2);
        case kHorizontalTriggerMarker:
            return s.horizontalTrigger();
        case kXyHorizontalMarker:
            return s.position(kCh1);
        default:
            return s.position(marker);
    }
}

MarkerPlace ScopeScreen::markerPlaceOf(int marker, int setting) const {
    switch (marker) {
        case kCh1TriggerMarker:
        case kCh2TriggerMarker:
            return triggerMarkerPlace(grid(), setting);
        case kExtTriggerMarker:
            return extTriggerMarkerPlace(grid(), setting);
        case kHorizontalTriggerMarker:
            return horizontalMarkerPlace(grid(), setting);
        case kXyHorizontalMarker:
            return xyMarkerPlace(grid(), setting);
        default:
            return levelMarkerPlace(grid(), setting);
    }
}

void ScopeScreen::updateMarkers() {
    const ScopeSettings s = settings();
    for (int m = 0; m < kMarkerCount; ++m) {
        // The marker in the user's hand stays there.
        if (markerDrag_ && m == draggedMarker_) continue;
        const int setting = markerSetting(m, s);
        auto& from = computedFrom_[static_cast<std::size_t>(m)];
        if (from == setting) continue;
        from = setting;
        markers_[static_cast<std::size_t>(m)] = markerPlaceOf(m, setting);
    }
}

void ScopeScreen::drawBeneathFrame(QPainter& p) {
    clampCursorPoints(grid(), cursor1_, cursor2_);
    // The cursors' lines and readouts are not worth the bookkeeping: while
    // they are shown, every repaint starts from the whole layer.
    if (cursor_.type != CursorType::None) noteDrawn(rect());
    drawCursorLines(p, grid(), settings(), cursor_, cursor1_, cursor2_);
    updateMarkers();
    if (!state_.connected()) return;
    const ScopeSettings s = settings();
    if (s.isFormat(DisplayFormat::XY)) {
        drawXY(p, s);
        return;
    }
    if (tracesPrepared()) {
        setPreparedTraces();
    } else {
        TraceInputs inputs;
        for (int w = kCh1; w <= kRef; ++w) {
            if (!s.shown(w)) continue;
            TracePen pen(p, traceClip(), colour::ofWaveform(w), drawn());
            traceInputs(s, w, inputs);
            drawTrace(pen, s, w, inputs);
        }
    }
    if (traceOverlay_) {
        p.save();
        p.setClipRect(traceClip());
        // Whatever it draws lies in the grid, restored whole next time.
        if (traceOverlay_(p, grid(), s)) noteDrawn(traceClip());
        p.restore();
    }
}

QRect ScopeScreen::traceClip() const {
    const GridRect& g = grid();
    return QRect(QPoint(g.left, g.top), QPoint(g.right, g.bottom));
}

const std::vector<int>& ScopeScreen::columnsOf(double origin, double step, int count) {
    const ColumnsKey key{origin, step, count, grid()};
    if (key == columnsKey_ && columns_.size() == static_cast<std::size_t>(count)) return columns_;
    const GridRect& g = grid();
    columns_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        columns_[static_cast<std::size_t>(i)] = pixelWithin(
            g.left + (origin + i * step) * 0.001 * g.width() / kHorizontalUnits, g.left, g.right);
    columnsKey_ = key;
    return columns_;
}

void ScopeScreen::prepareTraces(std::vector<TraceSpans>& traces) {
    updateMarkers();
    const ScopeSettings s = settings();
    if (!state_.connected() || s.isFormat(DisplayFormat::XY)) {
        prepared_ = {};
        return;
    }
    // A slot for each waveform, so each follows its own last frame.
    traces.resize(kRef + 1);
    for (int w = kCh1; w <= kRef; ++w) {
        auto& kept = prepared_[static_cast<std::size_t>(w)];
        if (!s.shown(w)) {
            kept.reset();
            continue;
        }
        TraceSpans& trace = traces[static_cast<std::size_t>(w)];
        traceInputs(s, w, nextInputs_);
        if (kept && kept->inputs == nextInputs_) {
            trace = kept->spans;
            continue;
        }
        trace.colour = colour::ofWaveform(w).rgba();
        TracePen pen(nextInputs_.clip, trace);
        drawTrace(pen, s, w, nextInputs_);
        if (!kept) kept.emplace();
        // The kept inputs' sample buffer serves the next trace prepared.
        std::swap(kept->inputs, nextInputs_);
        kept->spans = trace;
    }
}

void ScopeScreen::traceInputs(const ScopeSettings& s, int w, TraceInputs& in) const {
    // Every field anew; only the room of the sample buffer stays.
    std::vector<uint8_t> samples = std::move(in.samples);
    samples.clear();
    in = {};
    in.count = s.pointCount(w);
    in.grid = grid();
    in.clip = traceClip() & rect();
    if (in.count > 0) {
        const auto first = data_.displayedBlock.begin() + zelvo::layout::traceSamples(w);
        samples.assign(first, first + 2 * in.count);
    }
    in.samples = std::move(samples);
    if (in.count == 0) return;
    const bool live = w == kMath || (w <= kCh2 && s.running());
    in.gain = live ? liveGain(s, w) : gainOf(s.capturedVoltsValue10uV(w), s.voltsValue10uV(w));
    in.zero = ZeroCodeOfLever(live ? s.position(w) : s.capturedPosition(w));
    const double h = in.grid.height();
    in.markerCode = (markers_[static_cast<std::size_t>(w)].point.y() - in.grid.top) / h * kCodeMax;
    in.step = s.stepMilliUnits(w);
    in.origin = s.originMilliUnits(w);
    in.blank = s.blankInterval(w);
    in.vector = s.vector(w);
}

void ScopeScreen::drawTrace(TracePen& pen, const ScopeSettings& s, int w, const TraceInputs& in) {
    const int count = in.count;
    if (count == 0) return;
    const GridRect& g = in.grid;
    const double h = g.height();
    const std::vector<int>& columns = columnsOf(in.origin, in.step, count);
    // The row of every sample code, worked out once: a trace has far more
    // samples than codes.
    std::array<int, kCodeMax + 1> rowOf;
    for (int code = 0; code <= kCodeMax; ++code) {
        double level = (code - in.zero) * in.gain + (kCodeMax - in.markerCode);
        if (w == kMath) level = std::clamp(level, 0.0, static_cast<double>(kCodeMax));
        rowOf[static_cast<std::size_t>(code)] =
            pixelWithin(g.top + (kCodeMax - level) * h / kCodeMax, g.top, g.bottom);
    }

    // A vector trace goes out as polylines, one for each unbroken run of
    // points; a dot trace as one set of points.
    QPoint* const run = run_.data();
    int length = 0;
    const auto endRun = [&pen, run, &length] {
        pen.polyline(run, length);
        length = 0;
    };
    for (int i = 0; i < count; ++i) {
        const int code = s.sample(w, i);
        if (!isSampleCode(code)) {
            // No point here: the next one starts a new line, but a dot stands on its own.
            if (in.vector) endRun();
            continue;
        }
        const QPoint here(columns[static_cast<std::size_t>(i)],
                          rowOf[static_cast<std::size_t>(code)]);
        // The first point and blanked points only place the pen: no dot, and
        // no line reaches them (a line may start from them).
        const bool placesPenOnly = i == 0 || (i >= in.blank.first && i <= in.blank.last);
        if (placesPenOnly && in.vector) endRun();
        if (in.vector || !placesPenOnly) run[length++] = here;
    }
    if (in.vector)
        endRun();
    else
        pen.points(run, length);
}

void ScopeScreen::drawXY(QPainter& p, const ScopeSettings& s) {
    const GridRect& g = grid();
    const double h = g.height();
    const int areaLeft = xyAreaLeft(g);
    const double across = 2.0 * g.width() / 3.0;
    const double leverScale = static_cast<double>(kCodeMax) / kLeverMax;
    const double xShift =
        s.position(kCh1) * leverScale -
        (kCodeMax - (markers_[kXyHorizontalMarker].point.x() - areaLeft) / across * kCodeMax);
    const double yShift = s.position(kCh2) * leverScale -
                          (markers_[kCh2LevelMarker].point.y() - g.top) / h * kCodeMax;
    QVarLengthArray<QPoint, zelvo::layout::kSamplesPerTrace> points;
    for (int i = 0; i < static_cast<int>(zelvo::layout::kSamplesPerTrace); ++i) {
        const int c1 = s.sample(kCh1, i);
        const int c2 = s.sample(kCh2, i);
        if (!isSampleCode(c1) || !isSampleCode(c2)) continue;
        const double x = c1 + xShift;
        const double y = c2 + yShift;
        points.append({pixelWithin(areaLeft + x * across / kCodeMax, areaLeft, xyAreaRight(g)),
                       pixelWithin(g.top + (kCodeMax - y) * h / kCodeMax, g.top, g.bottom)});
    }
    TracePen(p, traceClip(), colour::kRef, drawn())
        .points(points.data(), static_cast<int>(points.size()));
}

ScopeScreen::Fixtures ScopeScreen::fixtures() const {
    Fixtures f;
    f.connected = state_.connected();
    f.hasInstrument = state_.hasInstrument();
    f.deviceRemoved = state_.deviceRemoved();
    f.grid = grid();
    f.font = font();
    if (!f.connected) return f;
    const ScopeSettings s = settings();
    if (s.shown(kMath)) f.mathLabel = QString::fromStdString(ScopeMathLabel(s));
    if (s.shown(kRef))
        f.refLabel = QStringLiteral("REF: ") +
                     QString::fromStdString(VoltText(s.voltsValue10uV(kRef) * 0.01,
                                                     static_cast<uint16_t>(s.probe(kRef)))) +
                     QStringLiteral("/DIV");
    for (int m = 0; m < kMarkerCount; ++m)
        if (markerShown(m))
            f.markers[static_cast<std::size_t>(m)] = markers_[static_cast<std::size_t>(m)];
    f.statusLine = ScopeStatusLine(s, state_.deviceRemoved());
    if (!statusMark_.isEmpty())
        f.statusLine.push_back({statusMark_.toStdString(), StatusColour::Plain});
    return f;
}

bool ScopeScreen::fixturesChanged() {
    // The markers first: they follow the settings.
    updateMarkers();
    Fixtures now = fixtures();
    if (now == fixturesDrawn_) return false;
    fixturesDrawn_ = std::move(now);
    return true;
}

bool ScopeScreen::inFixtureLayer(const QRect& area) const {
    if (fixtureLayer_ == FixtureLayer::All) return true;
    // The frame's edges come back from the kept layers over the traces, so
    // what is kept may reach onto them but not inside.
    const bool inside = area.intersects(traceClip().adjusted(1, 1, -1, -1));
    return inside == (fixtureLayer_ == FixtureLayer::OverFrame);
}

void ScopeScreen::drawFixtures(QPainter& p, FixtureLayer layer) {
    fixtureLayer_ = layer;
    // The kept layers asked fixturesChanged() for this frame already; a
    // picture or a page works them out here, after its traces placed the
    // markers.
    Fixtures fresh;
    if (layer == FixtureLayer::All) fresh = fixtures();
    const Fixtures& f = layer == FixtureLayer::All ? fresh : fixturesDrawn_;
    if (f.connected) {
        if (!f.mathLabel.isEmpty()) drawMathLabel(p, f.mathLabel);
        if (!f.refLabel.isEmpty()) drawRefLabel(p, f.refLabel);
        drawMarkers(p);
        drawStatusLine(p, f.statusLine);
    }
    drawLamp(p);
}

void ScopeScreen::drawAboveFrame(QPainter& p) {
    // The texts belong to the data last measured; once the link is closed
    // they would stand for a signal that is no longer shown.
    if (state_.connected()) drawMeasurements(p);
}

void ScopeScreen::textAt(QPainter& p, KeptText& kept, QPoint at, const QString& text,
                         const QFont& font) {
    noteDrawn(kept.draw(p, at, text, font));
}

void ScopeScreen::drawMathLabel(QPainter& p, const QString& label) {
    const QPoint at(grid().left, grid().bottom + 20);
    if (!inFixtureLayer(mathLabel_.area(at, label, font()))) return;
    p.setPen(colour::kMath);
    textAt(p, mathLabel_, at, label, font());
}

void ScopeScreen::drawRefLabel(QPainter& p, const QString& label) {
    const QPoint at((grid().left + grid().right) / 2 + 100, grid().bottom + 20);
    if (!inFixtureLayer(refLabel_.area(at, label, font()))) return;
    p.setPen(colour::kRef);
    textAt(p, refLabel_, at, label, font());
}

void ScopeScreen::layOutStatusLine(std::vector<StatusPiece> line) {
    const GridRect& g = grid();
    status_.line = std::move(line);
    status_.gridWidth = g.width();
    status_.fontPx = 0;
    status_.x.clear();
    const int bandHeight = kStatusBottomOffset - kStatusTopOffset + 1;
    // The largest font at which the whole line fits across the grid; a grid
    // too narrow even for the smallest shows no line rather than part of one.
    for (int px = kStatusFontPx; px >= kStatusSmallestFontPx; --px) {
        const QFontMetrics metrics(pixelFont("Arial", px));
        std::vector<int> advances;
        int width = kStatusGapPx * (static_cast<int>(status_.line.size()) - 1);
        for (const StatusPiece& piece : status_.line) {
            advances.push_back(metrics.horizontalAdvance(QString::fromStdString(piece.text)));
            width += advances.back();
        }
        if (width > g.width() || metrics.height() > bandHeight) continue;
        status_.fontPx = px;
        int x = g.left;
        for (const int advance : advances) {
            status_.x.push_back(x);
            x += advance + kStatusGapPx;
        }
        return;
    }
}

void ScopeScreen::drawStatusLine(QPainter& p, const std::vector<StatusPiece>& line) {
    const GridRect& g = grid();
    // The fitting is measured again only when the words or the room change.
    if (line != status_.line || g.width() != status_.gridWidth || status_.x.empty())
        layOutStatusLine(line);
    if (status_.fontPx == 0) return;
    const QFont font = pixelFont("Arial", status_.fontPx);
    if (status_.texts.size() < status_.line.size()) status_.texts.resize(status_.line.size());
    for (std::size_t k = 0; k < status_.line.size(); ++k) {
        const QPoint at(status_.x[k], g.bottom + kStatusTopOffset);
        const QString text = QString::fromStdString(status_.line[k].text);
        if (!inFixtureLayer(status_.texts[k].area(at, text, font))) continue;
        p.setPen(statusColour(status_.line[k].colour));
        textAt(p, status_.texts[k], at, text, font);
    }
}

void ScopeScreen::drawMarkers(QPainter& p) {
    for (int m = 0; m < kMarkerCount; ++m) {
        if (!markerShown(m)) continue;
        const MarkerShape shape = markerShape(m, markers_[static_cast<std::size_t>(m)]);
        KeptText& label = markerLabels_[static_cast<std::size_t>(m)];
        const QString letter = QString::fromLatin1(markerLabel(m));
        const QRect outline = shape.polygon.boundingRect().adjusted(-1, -1, 1, 1);
        if (!inFixtureLayer(outline | label.area(shape.labelTopLeft, letter, markerLabelFont(m))))
            continue;
        p.setPen(QPen(markerColour(m), 0));
        p.setBrush(markerColour(m));
        p.drawPolygon(shape.polygon, Qt::OddEvenFill);
        noteDrawn(outline);
        p.setBrush(Qt::NoBrush);
        p.setPen(colour::kMarkerLabel);
        textAt(p, label, shape.labelTopLeft, letter, markerLabelFont(m));
    }
}

void ScopeScreen::drawMeasurements(QPainter& p) {
    const GridRect& g = grid();
    const int w = g.width();
    const int columnOffset = w / 8;
    const int h8 = g.height() / 8;
    const int h15 = g.height() / 15;
    // Two columns, four rows up from the bottom of the grid.
    const int rowBottom[4] = {h15, h8, h15 + h8, 2 * h15 + h8};
    for (int k = 0; k < kMeasurementSlots; ++k) {
        const MeasurementText& slot = measurements_[static_cast<std::size_t>(k)];
        if (!slot.enabled) continue;
        const int x = g.left + (k % 2 == 1 ? w / 2 : 0) + columnOffset;
        p.setPen(slot.overlay ? colour::ofOverlay(0) : colour::ofMeasurement(slot.channel));
        textAt(p, measurementTexts_[static_cast<std::size_t>(k)], {x, g.bottom - rowBottom[k / 2]},
               slot.text, measurementFont());
    }
}

void ScopeScreen::drawLamp(QPainter& p) {
    // Amber while connected to an instrument that no longer answers: the
    // window keeps its connection and turns green again when it does.
    const QColor& lamp = !state_.connected() || !state_.hasInstrument() ? colour::kDisconnected
                         : state_.deviceRemoved()                       ? colour::kLinkLost
                                                                        : colour::kConnected;
    const QRect lampArea(0, 0, 21, 21);
    if (inFixtureLayer(lampArea)) {
        p.setPen(lamp);
        p.setBrush(lamp);
        p.drawEllipse(QPoint(10, 10), 8, 8);
        noteDrawn(lampArea);
        p.setBrush(Qt::NoBrush);
    }
    const QString notice = QString::fromLatin1(scopetext::kDeviceRemoved);
    if (state_.deviceRemoved() && inFixtureLayer(removalNotice_.area({5, 20}, notice, font()))) {
        p.setPen(colour::kRemovalNotice);
        textAt(p, removalNotice_, {5, 20}, notice, font());
    }
}

int ScopeScreen::markerAt(QPoint point) const {
    for (int m = 0; m < kMarkerCount; ++m)
        if (markerShown(m) &&
            markerHitRect(m, markers_[static_cast<std::size_t>(m)], grid()).contains(point))
            return m;
    return kNoMarker;
}

void ScopeScreen::recordCursorPoint(QPoint point) {
    if (firstPointPending_) {
        cursor1_ = point;
        firstPointPending_ = false;
    }
    cursor2_ = point;
}

void ScopeScreen::showShapeAt(QPoint point) {
    if (grid().contains(point) && cursor_.type != CursorType::None) {
        setCursor(Qt::CrossCursor);
        return;
    }
    const int m = markerAt(point);
    if (m == kNoMarker)
        unsetCursor();
    else
        setCursor(m >= kHorizontalTriggerMarker ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void ScopeScreen::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    buttonHeld_ = true;
    firstPointPending_ = true;
    if (grid().contains(point)) {
        cursorDrag_ = true;
        recordCursorPoint(point);
    } else if (const int m = markerAt(point); m != kNoMarker) {
        markerDrag_ = true;
        draggedMarker_ = m;
        pressedPlace_ = markers_[static_cast<std::size_t>(m)];
    }
    showShapeAt(point);
}

void ScopeScreen::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!buttonHeld_) {
        showShapeAt(point);
        return;
    }
    if (cursorDrag_ && grid().contains(point)) {
        recordCursorPoint(point);
        changed();
    } else if (markerDrag_) {
        auto& place = markers_[static_cast<std::size_t>(draggedMarker_)];
        place = draggedMarkerPlace(draggedMarker_, place, point, grid());
        changed();
    }
}

void ScopeScreen::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A marker released where it was grabbed asks for nothing: converting
    // its place back to a setting truncates, so a plain click would step
    // the setting by one.
    const MarkerPlace* dropped =
        markerDrag_ ? &markers_[static_cast<std::size_t>(draggedMarker_)] : nullptr;
    if (dropped && *dropped != pressedPlace_) {
        commands_.Post(markerDropCommand(draggedMarker_, *dropped, grid()));
    }
    buttonHeld_ = cursorDrag_ = markerDrag_ = false;
    draggedMarker_ = kNoMarker;
    unsetCursor();
}

void ScopeScreen::drawMarks(QPainter& p) {
    if (!state_.connected() || cursor_.type == CursorType::None) return;
    p.setFont(font());
    drawCursorReadouts(p, grid(), settings(), cursor_, cursor1_, cursor2_);
}

void ScopeScreen::keyPressEvent(QKeyEvent* event) {
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint move;
    switch (event->key()) {
        case Qt::Key_Left:
            move = {-step, 0};
            break;
        case Qt::Key_Right:
            move = {step, 0};
            break;
        case Qt::Key_Up:
            move = {0, -step};
            break;
        case Qt::Key_Down:
            move = {0, step};
            break;
        default:
            WaveScreen::keyPressEvent(event);
            return;
    }
    if (cursor_.type == CursorType::None || grid().empty()) {
        WaveScreen::keyPressEvent(event);
        return;
    }
    cursor2_ += move;
    clampCursorPoints(grid(), cursor1_, cursor2_);
    event->accept();
    changed();
}

}  // namespace oscilane
