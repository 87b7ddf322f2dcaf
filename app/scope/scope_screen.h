// The scope display: the graticule of WaveScreen with the four traces (Y-T,
// Roll or X-Y), the MATH and REF labels, the nine markers, the measurement
// texts, the status line below the grid, the connection lamp and the removal
// notice.  Reads only the displayed block; a dropped marker becomes one
// posted command, and the marker stays where it was dropped until the
// instrument's new setting arrives.
#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "display/kept_text.h"
#include "display/wave_screen.h"
#include "model/cursor_readouts.h"
#include "model/scope_settings.h"
#include "model/scope_status_line.h"
#include "scope/scope_link_state.h"
#include "scope/scope_markers.h"

namespace oscilane {

class TracePen;

struct MeasurementText {
    bool enabled = false;
    WaveChannel channel = kCh1;  // kCh1, kCh2 or kMath
    QString text;
    bool overlay = false;  // measures the overlaid saved trace: in its colour
    bool operator==(const MeasurementText&) const = default;
};
inline constexpr int kMeasurementSlots = 8;

class ScopeScreen : public WaveScreen {
    Q_OBJECT
  public:
    static constexpr int kNoMarker = 0xFFFF;

    ScopeScreen(const ScopeData& scopeData, const ScopeLinkState& state, CommandSink& commands,
                QWidget* parent = nullptr);

    void setMeasurementTexts(const std::array<MeasurementText, kMeasurementSlots>& texts);
    // Drawn over the traces, inside the grid, in Y-T and Roll format while
    // connected: the saved traces laid over the live ones.  Says whether it
    // drew anything (the next repaint then restores the grid).
    using TraceOverlay = std::function<bool(QPainter&, const GridRect&, const ScopeSettings&)>;
    void setTraceOverlay(TraceOverlay overlay) { traceOverlay_ = std::move(overlay); }
    // A last piece of the status line, such as the mark of a past block; empty for none.
    void setStatusMark(const QString& mark) { statusMark_ = mark; }
    // 0 none, 1 cross, 2 trace, 3 vertical, 4 horizontal.
    void setCursorType(int type) { cursor_.type = static_cast<CursorType>(type); }
    // The cursor type and channel; a change shows at the next paint.
    CursorChoice& cursorChoice() { return cursor_; }
    QPoint cursorPoint1() const { return cursor1_; }
    QPoint cursorPoint2() const { return cursor2_; }

    // Where marker m stands now (after the last frame's update from the settings).
    const MarkerPlace& markerPlace(int marker) const {
        return markers_[static_cast<std::size_t>(marker)];
    }
    // Whether marker m is drawn and can be grabbed with these settings.
    bool markerShown(int marker) const;
    // Brings the markers up to the displayed settings, as each frame does first.
    void updateMarkers();
    // Draws a frame, and asks for a repaint of what it changed, only when
    // something the display shows differs from what the last frame showed
    // (the acquisition tick's call: a stopped instrument's unchanged frames
    // cost no drawing at all).
    void refresh();

  protected:
    void frameDrawn() override;
    void drawBeneathFrame(QPainter& painter) override;
    void drawAboveFrame(QPainter& painter) override;
    void drawFixtures(QPainter& painter, FixtureLayer layer) override;
    void prepareTraces(std::vector<TraceSpans>& traces) override;
    bool fixturesChanged() override;
    void gridChanged() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void drawMarks(QPainter& painter) override;
    bool reportsDrawing() const override { return true; }
    // The arrow keys move the latest cursor point a pixel, ten with Shift.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ScopeSettings settings() const { return ScopeSettings(data_.displayedBlock); }
    int markerSetting(int marker, const ScopeSettings& s) const;
    MarkerPlace markerPlaceOf(int marker, int setting) const;
    int markerAt(QPoint point) const;
    void recordCursorPoint(QPoint point);
    void showShapeAt(QPoint point);

    // The grid, edges included: where traces may set pixels.
    QRect traceClip() const;
    // What a Y-T trace is drawn from: the same inputs give the same pixels.
    struct TraceInputs {
        int count = 0;
        double gain = 0, zero = 0, markerCode = 0, step = 0, origin = 0;
        ScopeSettings::BlankInterval blank{};
        bool vector = false;
        GridRect grid;
        QRect clip;
        std::vector<uint8_t> samples;  // the trace's bytes of the block
        bool operator==(const TraceInputs&) const = default;
    };
    // Fills `in`, keeping the room its sample buffer already has.
    void traceInputs(const ScopeSettings& s, int waveform, TraceInputs& in) const;
    // `in` from traceInputs() of the same settings.
    void drawTrace(TracePen& pen, const ScopeSettings& s, int waveform, const TraceInputs& in);
    // The column of each of a trace's first `count` samples; the traces of
    // one time base share them.
    const std::vector<int>& columnsOf(double origin, double step, int count);
    void drawXY(QPainter& p, const ScopeSettings& s);
    // Draws a kept text with its top-left corner at `at` and notes where.
    void textAt(QPainter& p, KeptText& kept, QPoint at, const QString& text, const QFont& font);
    void drawMathLabel(QPainter& p, const QString& label);
    void drawRefLabel(QPainter& p, const QString& label);
    void drawMarkers(QPainter& p);
    void layOutStatusLine(std::vector<StatusPiece> line);
    void drawStatusLine(QPainter& p, const std::vector<StatusPiece>& line);
    void drawMeasurements(QPainter& p);
    void drawLamp(QPainter& p);

    const ScopeData& data_;
    const ScopeLinkState& state_;
    CommandSink& commands_;

    std::array<MarkerPlace, kMarkerCount> markers_{};
    // The setting each marker was last placed from; none before the first
    // placement and after a resize.  Every 16-bit setting value, -1 included,
    // is a real one, so "not yet placed" is kept apart from them.
    std::array<std::optional<int>, kMarkerCount> computedFrom_{};
    std::array<MeasurementText, kMeasurementSlots> measurements_{};
    QString statusMark_;
    TraceOverlay traceOverlay_;

    CursorChoice cursor_;
    bool buttonHeld_ = false;
    bool cursorDrag_ = false;
    bool markerDrag_ = false;
    bool firstPointPending_ = false;
    int draggedMarker_ = kNoMarker;
    MarkerPlace pressedPlace_;  // where the dragged marker stood when it was grabbed
    QPoint cursor1_;
    QPoint cursor2_;

    struct ColumnsKey {
        double origin = 0, step = 0;
        int count = 0;
        GridRect grid;
        bool operator==(const ColumnsKey&) const = default;
    };
    ColumnsKey columnsKey_;
    std::vector<int> columns_;
    // Room for a trace's points, and each waveform's last prepared trace
    // with what it came from, taken again while those stay the same (a
    // stored REF; every trace of a stopped instrument while cursors move).
    std::vector<QPoint> run_ = std::vector<QPoint>(zelvo::layout::kSamplesPerTrace);
    struct PreparedTrace {
        TraceInputs inputs;
        TraceSpans spans;
    };
    std::array<std::optional<PreparedTrace>, kRef + 1> prepared_;
    TraceInputs nextInputs_;  // of the trace being prepared

    // What the labels, markers, status line and lamp are drawn from.
    struct Fixtures {
        bool connected = false;
        bool hasInstrument = false;
        bool deviceRemoved = false;
        GridRect grid;
        QFont font;
        QString mathLabel, refLabel;  // empty when the trace is not shown
        std::array<std::optional<MarkerPlace>, kMarkerCount> markers{};  // shown ones
        std::vector<StatusPiece> statusLine;
        bool operator==(const Fixtures&) const = default;
    };
    Fixtures fixtures() const;
    Fixtures fixturesDrawn_;
    // Whether a fixture covering `area` is drawn in the layer being drawn.
    bool inFixtureLayer(const QRect& area) const;
    FixtureLayer fixtureLayer_ = FixtureLayer::All;

    // Everything a frame draws from, as it stood at the last frame.
    struct Shown {
        ScopeData::Block block{};
        bool connected = false;
        bool deviceRemoved = false;
        CursorType cursorType = CursorType::None;
        WaveChannel cursorChannel = kCh1;
        QPoint cursor1, cursor2;
        std::array<MarkerPlace, kMarkerCount> markers{};
        std::array<MeasurementText, kMeasurementSlots> measurements{};
        QString statusMark;
        bool operator==(const Shown&) const = default;
    };
    Shown current() const;
    std::optional<Shown> shown_;  // none before the first frame

    // The texts, each laid out once until its words change.
    KeptText mathLabel_;
    KeptText refLabel_;
    KeptText removalNotice_;
    std::array<KeptText, kMarkerCount> markerLabels_;
    std::array<KeptText, kMeasurementSlots> measurementTexts_;
    // The status line as last fitted to the grid's width: its font size (0
    // when it does not fit) and where each piece starts.
    struct StatusLayout {
        std::vector<StatusPiece> line;
        int gridWidth = -1;
        int fontPx = 0;
        std::vector<int> x;
        std::vector<KeptText> texts;
    };
    StatusLayout status_;
};

}  // namespace oscilane
