#include "scope/knob.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/scope_settings.h"
#include "scope/scope_commands.h"
#include "shell/palette.h"

namespace oscilane {
namespace {

constexpr double kCentreX = 43.5;
constexpr double kCentreY = 42.5;
constexpr double kTurn = 2 * std::numbers::pi;
// The lowest indexes the knobs reach: 10 mV and 2 ns per division.
constexpr int kLowestVoltsIndex = 4;
constexpr int kLowestTimeBaseIndex = 2;

// The pointer's angle, clockwise from straight up, for a percentage.
double angleOfPercent(double percent) { return (percent * 3 / 4 - 37.5) * kTurn / 100; }

}  // namespace

int knobPercent(double x, double y) {
    const double a = std::atan2(x - kCentreX, kCentreY - y);
    const double p = (a * 100 / kTurn + 50 - 12.5) * 4 / 3;
    return static_cast<int>(std::clamp(p, 0.0, 100.0));
}

int knobVoltsIndex(int percent, int steps) { return steps + 3 - percent * (steps - 1) / 100; }

int knobTimeBaseIndex(int percent, int steps) { return steps + 1 - percent * (steps - 1) / 100; }

Knob::Knob(KnobRole role, const ScopeData& scopeData, CommandSink& commands, QWidget* parent)
    : QWidget(parent), role_(role), data_(scopeData), commands_(commands) {
    setFixedSize(kWidth, kHeight);
}

void Knob::setRole(KnobRole role) {
    role_ = role;
    update();
}

void Knob::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    lastPosted_ = kNothingPosted;
    turnTo(event->position());
}

void Knob::mouseMoveEvent(QMouseEvent* event) {
    // A drag turns only while the left button alone is held without Shift or Ctrl.
    const bool shiftOrCtrl = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (event->buttons() == Qt::LeftButton && !shiftOrCtrl) turnTo(event->position());
}

std::optional<Knob::Target> Knob::target() const {
    const ScopeSettings s(data_.displayedBlock);
    if (role_ == KnobRole::TimeBase) {
        const int highest = data_.timeBaseCount + 1;
        const TriggerRecord record =
            s.altTrigger() ? altRecord(altChannel(altChannel_)) : TriggerRecord::Main;
        return Target{[record](int i) { return scope_command::timeBase(record, i); },
                      s.altTrigger() ? s.altTimeBase(altChannel_) : s.timeBase(),
                      kLowestTimeBaseIndex, highest};
    }
    const int channel = static_cast<int>(role_);
    if (!s.shown(channel)) return std::nullopt;
    return Target{[channel](int i) { return scope_command::voltsIndex(scopeChannel(channel), i); },
                  s.voltsIndex(channel), kLowestVoltsIndex, data_.voltsStepCount + 3};
}

void Knob::turnTo(QPointF point) {
    const std::optional<Target> t = target();
    if (t) {
        const int p = knobPercent(point.x(), point.y());
        const int index = role_ == KnobRole::TimeBase ? knobTimeBaseIndex(p, data_.timeBaseCount)
                                                      : knobVoltsIndex(p, data_.voltsStepCount);
        // Until the instrument's next upload shows it, the step this drag last
        // posted is the one in force: moving within it posts nothing more.
        if (index != (lastPosted_ == kNothingPosted ? t->current : lastPosted_)) {
            commands_.Post(t->command(index));
            lastPosted_ = index;
        }
    }
    update();
}

void Knob::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint delta = event->angleDelta();
    wheelEighths_ += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = wheelEighths_ / QWheelEvent::DefaultDeltasPerStep;
    wheelEighths_ %= QWheelEvent::DefaultDeltasPerStep;
    const std::optional<Target> t = target();
    if (notches == 0 || !t) return;
    const int perNotch = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    const int from =
        wheelPosted_ != kNothingPosted && wheelBase_ == t->current ? wheelPosted_ : t->current;
    // Turning up is turning clockwise, towards the lower indexes, as a drag does.
    const int index = std::clamp(from - notches * perNotch, t->lowest, t->highest);
    if (index == from) return;
    commands_.Post(t->command(index));
    wheelPosted_ = index;
    wheelBase_ = t->current;
    update();
}

double Knob::pointerPercent() const {
    const ScopeSettings s(data_.displayedBlock);
    const bool timeBase = role_ == KnobRole::TimeBase;
    const int steps = timeBase ? data_.timeBaseCount : data_.voltsStepCount;
    if (steps < 2) return 0;
    const int index = timeBase ? s.timeBaseOf(altChannel_) : s.voltsIndex(static_cast<int>(role_));
    const int top = timeBase ? steps + 1 : steps + 3;
    return std::clamp((top - index) * 100.0 / (steps - 1), 0.0, 100.0);
}

void Knob::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().button());
    // Outer ring.
    p.setPen(QPen(palette().dark().color(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(6, 6, 75, 73));
    // Two-tone ring: light on the upper right, darker on the lower left.
    const QRectF ring(9, 9, 69, 67);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kKnobRingLight);
    p.drawPie(ring, -45 * 16, 180 * 16);
    p.setBrush(colour::kKnobRingDark);
    p.drawPie(ring, 135 * 16, 180 * 16);
    p.setBrush(colour::kKnobFace);
    p.drawEllipse(QRectF(15, 15, 57, 55));
    // Pointer from the centre, at the angle of the current setting.
    const double a = angleOfPercent(pointerPercent());
    const QPointF centre(43, 42);
    p.setPen(QPen(colour::kKnobPointer, 2));
    p.drawLine(centre, centre + QPointF(24 * std::sin(a), -24 * std::cos(a)));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::kKnobFace);
    p.drawEllipse(QRectF(37, 37, 13, 11));
}

}  // namespace oscilane
