// The "DSO Controller" panel: shows the instrument's settings from the
// displayed block and turns every user action into one posted command.  It
// never changes a setting locally; a control shows a new value only when an
// upload confirms it.  A control is touched only when its block value
// differs from the value it was last set from; a reset cache forces the next
// refresh.
#pragma once

#include <QWidget>
#include <cstdint>
#include <limits>

#include "model/scope_settings.h"
#include "scope/scope_link_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace oscilane {

class Knob;
class UpDownButtons;

class ScopePanel : public QWidget {
    Q_OBJECT
  public:
    ScopePanel(const ScopeData& data, CommandSink& commands, const ScopeLinkState& state,
               QWidget* parent = nullptr);

    // Brings the controls up to the displayed block; nothing while disconnected.
    void refresh();

    int selectedChannel() const { return channel_; }
    int altChannel() const { return altChannel_; }

  private:
    enum class SlopeContent { None, Edge, Pulse };

    void buildControls();
    void connectHandlers();
    void selectChannel(int channel);
    void showSlopeContent(SlopeContent content);
    void refreshChannel(const ScopeSettings& s);
    void refreshTrigger(const ScopeSettings& s);
    // Sets a control from `value` when it differs from `cached`; true when it did.
    static bool changed(int64_t& cached, int64_t value);
    // A cached value no block field can take (a signed field may hold -1),
    // so the next refresh always sets the control.
    static constexpr int64_t kRefreshNext = std::numeric_limits<int64_t>::min();

    void post(QueuedCommand command);
    void stepPulseWidth(int delta);
    // Whether the trigger in force is a pulse trigger, and its width.
    bool pulseTrigger(const ScopeSettings& s) const;
    uint32_t pulseWidth(const ScopeSettings& s) const;

    const ScopeData& data_;
    CommandSink& commands_;
    const ScopeLinkState& state_;
    ScopeSettings settings() const { return ScopeSettings(data_.displayedBlock); }

    int channel_ = 0;
    int altChannel_ = 0;
    SlopeContent slopeContent_ = SlopeContent::None;

    struct Cache {
        int64_t shown = kRefreshNext, voltsValue = kRefreshNext, probeOfVolts = kRefreshNext;
        int64_t coupling = kRefreshNext, probe = kRefreshNext, timeBase = kRefreshNext;
        int64_t format = kRefreshNext, mode = kRefreshNext, source = kRefreshNext;
        int64_t sweep = kRefreshNext, slope = kRefreshNext, altType = kRefreshNext;
        int64_t pulseWidth = kRefreshNext;
    } cache_;

    QListWidget* channelList_ = nullptr;
    Knob* timeKnob_ = nullptr;
    QComboBox* timeList_ = nullptr;
    QComboBox* formatList_ = nullptr;
    Knob* voltageKnob_ = nullptr;
    QCheckBox* onOff_ = nullptr;
    QLineEdit* voltsText_ = nullptr;
    UpDownButtons* voltsStep_ = nullptr;
    QComboBox* couplingList_ = nullptr;
    QComboBox* probeList_ = nullptr;
    QComboBox* modeList_ = nullptr;
    QComboBox* sourceList_ = nullptr;
    QComboBox* typeList_ = nullptr;
    QComboBox* sweepList_ = nullptr;
    QLabel* slopeLabel_ = nullptr;
    QComboBox* slopeList_ = nullptr;
    QLabel* pulseWidthLabel_ = nullptr;
    QLineEdit* pulseWidthText_ = nullptr;
    UpDownButtons* pulseWidthStep_ = nullptr;
};

}  // namespace oscilane
