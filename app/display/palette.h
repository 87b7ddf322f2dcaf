// The colours of the instrument displays, on screen and in print: the
// channel colours every window shares, then the display's own marks.
#pragma once

#include <QColor>

namespace oscilane::colour {

inline const QColor kBackground(0, 0, 0);
inline const QColor kGraticule(200, 200, 200);
inline const QColor kGraticuleFrame(255, 255, 255);
inline const QColor kCh1(240, 240, 0);
inline const QColor kCh2(0, 255, 0);
inline const QColor kMath(255, 0, 0);
inline const QColor kRef(0, 255, 255);  // also the X-Y trace
inline const QColor kExtTrigger(255, 0, 255);
inline const QColor kHorizontalTrigger(250, 170, 100);
inline const QColor kCursor(0, 200, 255);
inline const QColor kConnected(0, 255, 0);
inline const QColor kDisconnected(255, 0, 0);
inline const QColor kLinkLost(255, 176, 0);  // connected, but the instrument stopped answering
inline const QColor kRemovalNotice(255, 0, 0);
inline const QColor kMarkerLabel(0, 0, 0);
inline const QColor kStatusText(220, 220, 220);  // status-line pieces of no one channel
// The generator window: its plotted wave, read-outs, dimension arrows and
// parameter list, and the editor's cursor read-out and scroll thumb.
inline const QColor kGeneratorTrace(0, 255, 0);
inline const QColor kGeneratorText(255, 255, 255);
inline const QColor kGeneratorCursor(0, 255, 0);
inline const QColor kGeneratorThumb(200, 200, 200);

// Colour of waveform 0 CH1, 1 CH2, 2 MATH, 3 REF.
inline const QColor& ofWaveform(int waveform) {
    static const QColor* const colours[] = {&kCh1, &kCh2, &kMath, &kRef};
    return *colours[waveform & 3];
}

// A measurement text's colour by its channel; black for anything but 0..2.
inline QColor ofMeasurement(int channel) {
    return channel >= 0 && channel <= 2 ? ofWaveform(channel) : QColor(0, 0, 0);
}

}  // namespace oscilane::colour

// The meter display.
namespace oscilane::colour {

inline const QColor kMeterText(0, 255, 255);  // digits, unit, bar, labels
inline const QColor kMeterTrend(0, 255, 0);
inline const QColor kMeterFrame(90, 90, 90);
inline const QColor kMeterDimSegment(0, 45, 45);  // unlit segments
inline const QColor kMeterWarning(255, 80, 80);   // link-error mark, status warnings

}  // namespace oscilane::colour
