#include "model/meter_controls.h"

#include <array>

#include "model/meter_tables.h"

namespace oscilane {
namespace {

// The voltage choices of the range list: the five lower ranges, and 800 V,
// the top range of DC only.
constexpr std::array<std::string_view, 5> kVoltageChoices{"60.00mV", "600.0mV", "6.000V", "60.00V",
                                                          "600.0V"};
constexpr std::string_view kDcOnlyVoltageChoice = "800.0V";
// The current choices exist on the mA input only.
constexpr std::size_t kMilliampChoices = 2;

MeasureMode modeOf(const DmmInfo& record) { return static_cast<MeasureMode>(record.measureMode); }

// arg: 1 to ask for the state the flag does not have.
uint8_t opposite(uint8_t flag) { return flag != 0 ? 0 : 1; }

std::vector<std::string_view> rangeChoices(const DmmInfo& record) {
    std::vector<std::string_view> choices;
    switch (modeOf(record)) {
        case MeasureMode::Voltage:
            choices.assign(kVoltageChoices.begin(), kVoltageChoices.end());
            if (record.ac == 0) choices.push_back(kDcOnlyVoltageChoice);
            break;
        case MeasureMode::Current:
            if (record.milliamps != 0)
                for (std::size_t i = 0; i < kMilliampChoices; ++i)
                    choices.push_back(kCurrentRanges[i].label);
            break;
        case MeasureMode::Resistance:
            for (const MeterRange& range : kResistanceRanges) choices.push_back(range.label);
            break;
        default:
            break;
    }
    return choices;
}

}  // namespace

std::optional<MeterCommand> AcDcCommand(const DmmInfo& reported) {
    switch (modeOf(reported)) {
        case MeasureMode::Voltage:
            return MeterCommand{MeterCommandKind::VoltAcDc, opposite(reported.ac)};
        case MeasureMode::Current:
            return MeterCommand{MeterCommandKind::CurrentAcDc, opposite(reported.ac)};
        default:
            return std::nullopt;
    }
}

std::optional<MeterCommand> AutoManualCommand(const DmmInfo& reported) {
    uint8_t argument = opposite(reported.manualRange);
    switch (modeOf(reported)) {
        case MeasureMode::Voltage:
            return MeterCommand{MeterCommandKind::VoltMode, argument};
        case MeasureMode::Current:
            return MeterCommand{MeterCommandKind::CurrentMode, argument};
        case MeasureMode::Resistance:
            return MeterCommand{MeterCommandKind::OhmMode, argument};
        default:
            return std::nullopt;
    }
}

std::optional<MeterCommand> RelCommand(const DmmInfo& reported) {
    uint8_t argument = opposite(reported.rel);
    switch (modeOf(reported)) {
        case MeasureMode::Voltage:
            return MeterCommand{MeterCommandKind::VoltRel, argument};
        case MeasureMode::Current:
            return MeterCommand{MeterCommandKind::CurrentRel, argument};
        case MeasureMode::Resistance:
            return MeterCommand{MeterCommandKind::OhmRel, argument};
        case MeasureMode::Capacitance:
            return MeterCommand{MeterCommandKind::CapRel, argument};
        default:
            return std::nullopt;
    }
}

MeterCommand MilliampsCommand(const DmmInfo& reported) {
    return {MeterCommandKind::CurrentAmA, opposite(reported.milliamps)};
}

std::optional<MeterCommand> RangeCommand(const DmmInfo& reported, int selection) {
    if (selection < 0 || selection > 255) return std::nullopt;
    auto argument = static_cast<uint8_t>(selection);
    switch (modeOf(reported)) {
        case MeasureMode::Voltage:
            return MeterCommand{MeterCommandKind::VoltRange, argument};
        case MeasureMode::Current:
            return MeterCommand{MeterCommandKind::CurrentRange, argument};
        case MeasureMode::Resistance:
            return MeterCommand{MeterCommandKind::OhmRange, argument};
        default:
            return std::nullopt;
    }
}

std::optional<MeterCommand> ModeCommand(const DmmInfo& reported, MeasureMode wanted) {
    if (modeOf(reported) == wanted) return std::nullopt;
    return MeterCommand{MeterCommandKind::MeasureMode, static_cast<uint8_t>(wanted)};
}

ControllerBarView ControllerBarFor(const DmmInfo& reported) {
    const MeasureMode mode = modeOf(reported);
    const bool current = mode == MeasureMode::Current;
    const bool onAInput = current && reported.milliamps == 0;
    ControllerBarView view;

    if (reported.manualRange != 0) view.ranges = rangeChoices(reported);
    view.rangeListVisible = !view.ranges.empty();
    if (reported.rangeIndex < view.ranges.size()) view.rangeSelection = reported.rangeIndex;

    view.acDcVisible = mode == MeasureMode::Voltage || current;
    view.acDcCaption = reported.ac != 0 ? "AC" : "DC";

    view.autoManualVisible =
        !(reported.rel != 0 || mode == MeasureMode::Diode || mode == MeasureMode::Continuity ||
          mode == MeasureMode::Capacitance || onAInput);
    view.autoManualCaption = reported.manualRange != 0 ? "Manual" : "Auto";

    view.milliampsVisible = current;
    view.milliampsCaption = reported.milliamps != 0 ? "mA" : "A";

    view.relVisible = !(mode == MeasureMode::Diode || mode == MeasureMode::Continuity);
    return view;
}

}  // namespace oscilane
