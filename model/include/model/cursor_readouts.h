// The cursors of the scope display: which kind is chosen, the readout texts
// of the two cursor points, and where the trace cursor's mark stands.  Pure
// functions of the displayed settings and of pixel distances on the grid, so
// the window, a test and a report read the same numbers.
#pragma once

#include <optional>
#include <string>

#include "model/scope_settings.h"

namespace oscilane {

enum class CursorType { None = 0, Cross = 1, Trace = 2, Vertical = 3, Horizontal = 4 };
inline constexpr int kCursorTypeCount = 5;

// The user's cursor choice.
struct CursorChoice {
    CursorType type = CursorType::None;
    WaveChannel channel = kCh1;  // kCh1, kCh2 or kMath
};

// The channel's math trace shows an FFT: the cursors then read frequency and dB.
bool CursorOnFft(const ScopeSettings& s, int channel);

// Time between two cursors dx pixels apart on a grid w pixels wide (w - 1
// pixels span the 12 divisions).  Empty for an FFT channel, a zero distance
// and a grid too narrow to have a span.
std::string CursorTime(const ScopeSettings& s, int channel, int dx, int w);
// The frequency whose period is that time, or the FFT frequency span.
std::string CursorFrequency(const ScopeSettings& s, int channel, int dx, int w);
// Voltage (or, for an FFT in dB, decibel) difference of a vertical distance
// dy = y2 - y1 on a grid h pixels high; a drag downwards reads positive.
std::string CursorVoltage(const ScopeSettings& s, int channel, int dy, int h);
// The voltage of the channel's trace at dx pixels from the grid's left edge.
std::string TraceVoltage(const ScopeSettings& s, int channel, int dx, int w);
// Millivolts of one sample code of a channel, probe factor included.
std::optional<double> SampleToMillivolts(const ScopeSettings& s, int sample, int channel);

// The trace point a trace cursor dx pixels from the left edge of a w-pixel
// grid falls on: none past the record or for an empty record; the right
// edge itself takes the last point.
std::optional<int> TraceCursorIndex(int dx, int w, int pointCount);

// The trace cursor's mark, relative to the grid's top-left corner.
struct TraceMark {
    int index;  // the sample it stands on
    int x;
    int y;
};
// None when there is no point to follow: no record, an index past it, a
// switched-off channel (an FFT MATH trace counts as shown) or a blanked sample.
std::optional<TraceMark> TraceMarkAt(const ScopeSettings& s, int channel, int dx, int w, int h);

}  // namespace oscilane
