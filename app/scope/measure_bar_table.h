// The measure bar's buttons: command id, tooltip, the measurement each adds
// and its picture; the order of the two tool bars; the channel list.
#pragma once

#include <array>
#include <span>

#include "model/measure_kinds.h"

namespace oscilane {

struct MeasureButton {
    int command;  // 0 marks a separator
    const char* tooltip;
    MeasureKind kind;
    const char* icon;
};

namespace measurebar {

inline constexpr const char* kTitle = "Measure";
inline constexpr int kChannelListCommand = 32858;
inline constexpr int kChannelListWidth = 86;
// The list's entries: the three channels, the overlaid saved trace, then "Clear".
inline constexpr std::array<const char*, 5> kChannelList = {"CH1", "CH2", "Math", "Overlay",
                                                            "Clear"};
inline constexpr int kOverlayEntry = 3;
inline constexpr int kClearEntry = 4;

inline constexpr MeasureButton kSeparator{0, nullptr, MeasureKind::Vpp, nullptr};

inline constexpr MeasureButton kFirstBar[] = {
    {32832, "Maximum", MeasureKind::Vmax, ":/icons/measure_vmax.png"},
    {32833, "Minimum", MeasureKind::Vmin, ":/icons/measure_vmin.png"},
    {32834, "Peak to Peak", MeasureKind::Vpp, ":/icons/measure_vpp.png"},
    kSeparator,
    {32835, "Top", MeasureKind::Vtop, ":/icons/measure_vtop.png"},
    {32836, "Middle", MeasureKind::Vmid, ":/icons/measure_vmid.png"},
    {32837, "Base", MeasureKind::Vbase, ":/icons/measure_vbase.png"},
    kSeparator,
    {32838, "Amplitude", MeasureKind::Vamp, ":/icons/measure_vamp.png"},
    {32839, "Average", MeasureKind::Vavg, ":/icons/measure_vavg.png"},
    {32855, "Cycle RMS", MeasureKind::Vcrms, ":/icons/measure_vcrms.png"},
    {32840, "RMS", MeasureKind::Vrms, ":/icons/measure_vrms.png"},
    kSeparator,
    {32841, "Positive Overshott", MeasureKind::OverShoot, ":/icons/measure_overshoot.png"},
    {32842, "Negative Overshoot", MeasureKind::PreShoot, ":/icons/measure_preshoot.png"},
};

// The channel list stands first on the second bar, before these.
inline constexpr MeasureButton kSecondBar[] = {
    kSeparator,
    {32843, "Period", MeasureKind::Period, ":/icons/measure_period.png"},
    {32844, "Frequency", MeasureKind::Frequency, ":/icons/measure_frequency.png"},
    kSeparator,
    {32845, "Rise Time", MeasureKind::RiseTime, ":/icons/measure_rise.png"},
    {32846, "Fall Time", MeasureKind::FallTime, ":/icons/measure_fall.png"},
    kSeparator,
    {32847, "+Width", MeasureKind::PosWidth, ":/icons/measure_pos_width.png"},
    {32848, "-Width", MeasureKind::NegWidth, ":/icons/measure_neg_width.png"},
    kSeparator,
    {32849, "+Duty Cycle", MeasureKind::PosDuty, ":/icons/measure_pos_duty.png"},
    {32850, "-Duty Cycle", MeasureKind::NegDuty, ":/icons/measure_neg_duty.png"},
    kSeparator,
    {32851, "+Delay 1->2", MeasureKind::PosDelay, ":/icons/measure_pos_delay.png"},
    {32852, "-Delay 1->2", MeasureKind::NegDelay, ":/icons/measure_neg_delay.png"},
};

// The statistics table beside the bar.
inline constexpr std::array<const char*, 7> kStatisticsColumns = {
    "Measurement", "Current", "Minimum", "Maximum", "Mean", "Std Dev", "Frames"};
inline constexpr const char* kRestart = "Restart";

}  // namespace measurebar
}  // namespace oscilane
