// The scope display's one-line summary of the displayed block: each shown
// channel's volts per division and coupling, the time per division, the
// trigger and whether acquisition runs.  Pieces carry the colour they are
// drawn in, so the display only lays them out.  Also the MATH trace's label
// under the grid.
#pragma once

#include <string>
#include <vector>

#include "model/scope_settings.h"

namespace oscilane {

// What a piece of the line is coloured after.
enum class StatusColour { Ch1, Ch2, ExtTrigger, Plain, LinkLost };

struct StatusPiece {
    std::string text;
    StatusColour colour;
    bool operator==(const StatusPiece&) const = default;
};

// Left to right: "CH1 1.00V DC", "CH2 ...", the time base ("M 500.0us", or
// one per shown channel in ALT trigger mode), the trigger ("T CH1 + AUTO",
// "T ALT CH1 + CH2 -" in ALT mode) and "RUN", "STOP" or "SINGLE".  A value
// the block holds outside its table reads "?".  While the link is lost the
// block is the last one the instrument sent: the run state then reads
// "LINK LOST" instead of a state nobody knows.
std::vector<StatusPiece> ScopeStatusLine(const ScopeSettings& s, bool linkLost);

// "MATH: 500mV/DIV"; for FFT the scale ("MATH: 10dB/DIV" in dB), the
// frequency per division and the sample rate of the FFT source's time base:
// "MATH: 10dB/DIV     5.000KHz/DIV     2.000MSa/s".
std::string ScopeMathLabel(const ScopeSettings& s);

// Run state: "STOP" while the shown data is held, "SINGLE" while a single
// sweep waits or runs, otherwise "RUN".
const char* runStateText(const ScopeSettings& s);

}  // namespace oscilane
