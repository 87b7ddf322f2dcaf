// The arithmetic of the arbitrary-waveform editor, free of any widget: which
// sample lies under a pixel, where a sample's cursor stands, the voltage of a
// pixel row, the straight-line fill between two drawn samples, the zoom spans
// and the limits of a typed or spun point index.
//
// Every index these functions return lies within 0 ... N - 1 of the wave's
// sample count (and so within the buffer), whatever the span, start or pixel.
#pragma once

#include <cstdint>

#include "model/generator_wave.h"

namespace oscilane::arb {

// The plot's horizontal extent in pixels.
struct PlotSpan {
    int left = 0;
    int right = 0;
};

// The zoom state as the editor uses it: the span at least 1 and at most N,
// the start within 0 ... 1.  A stored state outside those (a span above a
// small loaded file's count) is mended here rather than trusted.
void NormaliseView(GeneratorWave& wave);

// The first sample shown: (N - span) x start, truncated.
int FirstShown(const GeneratorWave& wave);

// The sample under pixel column x: (x - L) / (R - L) x span + first shown,
// truncated, then kept within 0 ... N - 1.
int IndexAtX(const GeneratorWave& wave, PlotSpan plot, int x);

// The cursor column of a sample: L + 1 + (R - L) / span x index
// - (N - span) x (R - L) x start / span.
int CursorXForIndex(const GeneratorWave& wave, PlotSpan plot, int index);

// The voltage of pixel row y: +3.5 V at the top edge, -3.5 V at the bottom.
double VoltsAtY(int y, int top, int bottom);

// Sets sample `current` to volts and every sample strictly between
// `previous` and `current` on the straight line between the two end samples,
// in either direction, and marks the buffer edited.  Indexes outside
// 0 ... N - 1 are first kept within it.
void DrawSample(GeneratorWave& wave, int previous, int current, double volts);

// The span after one zoom in: two thirds of it, truncated, not below 100 and
// not above N; unchanged when N is below 100.
uint16_t ZoomedInSpan(uint16_t span, uint16_t count);
// The span after one zoom out: one and a half of it, truncated, not above N.
uint16_t ZoomedOutSpan(uint16_t span, uint16_t count);
// Zooming is offered for an "Arb" wave of more than 100 samples.
bool ZoomAvailable(const GeneratorWave& wave);

// The highest index the "Edit Point" dialog reaches: points per cycle - 1,
// and never past the last sample.
int LastEditableIndex(const GeneratorWave& wave);
// A typed point index, kept within 0 ... LastEditableIndex.
int TypedIndex(const GeneratorWave& wave, long long typed);
// The index after a spin change: +1 raises it while it is below the last
// editable index, -1 lowers it while it is at least 1.
int SpunIndex(const GeneratorWave& wave, int index, int change);

// The scroll thumb's centre column for the view start, and the view start
// for a thumb centre (kept within 0 ... 1).
int ThumbCentreX(const GeneratorWave& wave, PlotSpan plot);
float StartForThumbCentre(PlotSpan plot, int centreX);
// Whether the scroll thumb is drawn: more than 100 samples.
inline bool ThumbShown(const GeneratorWave& wave) { return wave.sampleCount > 100; }

}  // namespace oscilane::arb
