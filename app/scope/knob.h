// A round knob of the controller panel.  Dragging around its centre selects
// a volts-per-division step of one channel or a time-base step, and each
// wheel notch moves one step (ten with Shift); a changed step is posted as
// one command.  The knob keeps no value of its own: its
// pointer shows the displayed settings.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "device/command_sink.h"
#include "scope/scope_data.h"

namespace oscilane {

enum class KnobRole { Ch1Volts = 0, Ch2Volts = 1, TimeBase = 10 };

// Percentage 0..100 of a point in the knob's client coordinates: three
// quarters of a turn clockwise from lower left to lower right.
int knobPercent(double x, double y);
// Volts index of a knob percentage with `steps` positions (12 down to 4 for 9).
int knobVoltsIndex(int percent, int steps);
// Time-base index of a knob percentage with `steps` positions (37 down to 2 for 36).
int knobTimeBaseIndex(int percent, int steps);

class Knob : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 88;
    static constexpr int kHeight = 86;

    Knob(KnobRole role, const ScopeData& scopeData, CommandSink& commands,
         QWidget* parent = nullptr);

    void setRole(KnobRole role);
    KnobRole role() const { return role_; }
    // The ALT trigger channel (0 or 1) whose time base the knob turns in ALT mode.
    void setAltChannel(int channel) { altChannel_ = channel; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // What the knob turns now: its command, the setting in force and the
    // setting's index range.  Nothing for a volts knob of a hidden channel.
    struct Target {
        // The command that asks for a setting index.
        std::function<QueuedCommand(int index)> command;
        int current;
        int lowest;
        int highest;
    };
    std::optional<Target> target() const;
    void turnTo(QPointF point);
    // Where the pointer stands for the current setting, 0..100.
    double pointerPercent() const;

    KnobRole role_;
    const ScopeData& data_;
    CommandSink& commands_;
    int altChannel_ = 0;
    static constexpr int kNothingPosted = -1;
    int lastPosted_ = kNothingPosted;  // during one press
    // The wheel's last posted index and the setting it was posted from: until
    // an upload shows another setting, further notches go on from it.
    int wheelPosted_ = kNothingPosted;
    int wheelBase_ = kNothingPosted;
    int wheelEighths_ = 0;  // wheel turn not yet making a whole notch
};

}  // namespace oscilane
