// What the meter's controller bar shows and asks for.  The bar never sets
// its own state: it shows what the meter last reported, and each control
// asks the meter for the opposite of that state through a queued command.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/meter_reading.h"
#include "zelvo/zelvo_common.h"

namespace oscilane {

// The meter command kinds a window queues, each with a one-byte argument.
enum class MeterCommandKind : int {
    MeasureMode = 16,  // measure mode 0..5
    VoltAcDc = 17,     // 1 AC, 0 DC
    VoltRel = 18,      // 1 on, 0 off
    VoltMode = 19,     // 1 manual, 0 auto
    VoltRange = 20,    // range index
    CurrentAcDc = 21,
    CurrentRel = 22,
    CurrentMode = 23,
    CurrentRange = 24,
    CurrentAmA = 25,  // 1 mA, 0 A
    OhmMode = 26,
    OhmRange = 27,
    OhmRel = 28,
    CapRel = 29,
};

struct MeterCommand {
    MeterCommandKind kind;
    uint8_t argument;
    bool operator==(const MeterCommand&) const = default;
};

// The command each control queues for the reported state, or nothing where
// the control means nothing in the reported mode.
std::optional<MeterCommand> AcDcCommand(const DmmInfo& reported);
std::optional<MeterCommand> AutoManualCommand(const DmmInfo& reported);
std::optional<MeterCommand> RelCommand(const DmmInfo& reported);
MeterCommand MilliampsCommand(const DmmInfo& reported);
// selection: the position picked in the range list; nothing for none (-1).
std::optional<MeterCommand> RangeCommand(const DmmInfo& reported, int selection);
// Nothing when the meter already reports that mode.
std::optional<MeterCommand> ModeCommand(const DmmInfo& reported, MeasureMode wanted);

// The controller bar as the reported record wants it.
struct ControllerBarView {
    bool rangeListVisible = false;
    // The choices of the range list (UTF-8); empty while it is hidden.  A
    // window rebuilds its list when these differ from what it shows: in
    // voltage mode they change with AC/DC as well as with the mode.
    std::vector<std::string_view> ranges;
    int rangeSelection = -1;  // the reported range index, -1 outside the list
    bool acDcVisible = false;
    std::string_view acDcCaption;  // "AC" or "DC"
    bool autoManualVisible = false;
    std::string_view autoManualCaption;  // "Manual" or "Auto"
    bool milliampsVisible = false;
    std::string_view milliampsCaption;  // "mA" or "A"
    bool relVisible = false;
};

ControllerBarView ControllerBarFor(const DmmInfo& reported);

}  // namespace oscilane
