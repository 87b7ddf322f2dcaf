// A capture file shown on the scope's screen: a stopped setting block that
// holds the capture's traces as sample codes, at volts/div, probe, lever and
// time base taken from the scope's tables.  Everything that reads a block
// (the display, measurements, cursors, Save, the report) then works on a
// capture as on a stopped acquisition.
#pragma once

#include <array>

#include "model/capture_file.h"
#include "model/setting_block.h"

namespace oscilane {

struct CaptureScale {
    int voltsIndex = 0;
    int probeIndex = 0;
    int lever = 0;
    bool shown = true;  // a trace the user turned off is kept but not drawn
};

struct CaptureScales {
    // By channel 0..3; only the channels the capture holds matter.
    std::array<CaptureScale, 4> channels{};
    int timeBaseIndex = 0;
};

// The scales that show each trace whole on the 8 divisions.  A trace saved
// by the scope gets back the volts/div, probe and lever it was saved at
// when those give every sample's volts exactly as the file holds them, so
// saving it again writes the same bytes; any other trace gets the smallest
// volts/div (1X probe first) that spans it, centred.  The time base is the
// file's clock when it is a table entry, else the entry nearest to it.
CaptureScales FitCaptureScales(const Capture& capture);

// The stopped block showing the capture at the scales: each trace's codes
// (clipped to the grid, blanked where the file has no value or, at another
// time base than the file's, where the file has no sample at that time).
SettingBlock CaptureBlock(const Capture& capture, const CaptureScales& scales);

}  // namespace oscilane
