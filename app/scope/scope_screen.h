// The scope display: the graticule of WaveScreen with the four traces (Y-T,
// Roll or X-Y), the MATH and REF labels, the nine markers, the measurement
// texts, the status line below the grid, the connection lamp and the removal
// notice.  Reads only the displayed block; a dropped marker becomes one
// posted command, and the marker stays where it was dropped until the
// instrument's new setting arrives.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "display/wave_screen.h"
#include "model/cursor_readouts.h"
#include "model/scope_settings.h"
#include "scope/scope_link_state.h"
#include "scope/scope_markers.h"

namespace oscilane {

struct MeasurementText {
    bool enabled = false;
    WaveChannel channel = kCh1;  // kCh1, kCh2 or kMath
    QString text;
    bool overlay = false;  // measures the overlaid saved trace: in its colour
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
    // connected: the saved traces laid over the live ones.
    using TraceOverlay = std::function<void(QPainter&, const GridRect&, const ScopeSettings&)>;
    void setTraceOverlay(TraceOverlay overlay) { traceOverlay_ = std::move(overlay); }
    // A last piece of the status line, such as the mark of a past block; empty for none.
    void setStatusMark(const QString& mark) { statusMark_ = mark; }
    // 0 none, 1 cross, 2 trace, 3 vertical, 4 horizontal.
    void setCursorType(int type) { cursor_.type = static_cast<CursorType>(type); }
    // The cursor type and channel; a change shows at the next paint.
    CursorChoice& cursorChoice() { return cursor_; }
    QPoint cursorPoint1() const { return cursor1_; }
    QPoint cursorPoint2() const { return cursor2_; }

    // Where marker m stands now (after the last paint's update from the settings).
    const MarkerPlace& markerPlace(int marker) const {
        return markers_[static_cast<std::size_t>(marker)];
    }
    // Whether marker m is drawn and can be grabbed with these settings.
    bool markerShown(int marker) const;
    // Brings the markers up to the displayed settings, as each paint does first.
    void updateMarkers();

  protected:
    void drawBeneathFrame(QPainter& painter) override;
    void drawAboveFrame(QPainter& painter) override;
    void gridChanged() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void drawMarks(QPainter& painter) override;
    // The arrow keys move the latest cursor point a pixel, ten with Shift.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    ScopeSettings settings() const { return ScopeSettings(data_.displayedBlock); }
    int markerSetting(int marker, const ScopeSettings& s) const;
    MarkerPlace markerPlaceOf(int marker, int setting) const;
    int markerAt(QPoint point) const;
    void recordCursorPoint(QPoint point);
    void showShapeAt(QPoint point);

    void drawTrace(QPainter& p, const ScopeSettings& s, int waveform) const;
    void drawXY(QPainter& p, const ScopeSettings& s) const;
    void drawMathLabel(QPainter& p, const ScopeSettings& s) const;
    void drawRefLabel(QPainter& p, const ScopeSettings& s) const;
    void drawMarkers(QPainter& p) const;
    void drawStatusLine(QPainter& p, const ScopeSettings& s) const;
    void drawMeasurements(QPainter& p) const;
    void drawLamp(QPainter& p) const;

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
};

}  // namespace oscilane
