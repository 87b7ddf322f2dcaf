// Every colour the application draws with: the instrument displays, on
// screen and in print (the channel colours every window shares, then the
// display's own marks), the meter display, and the drawn controls (the
// scope's knobs, the side bars' caption and close button).
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
// Saved traces drawn over a live scope window, one colour per overlay.
inline const QColor kOverlay1(255, 105, 180);
inline const QColor kOverlay2(170, 110, 255);
inline const QColor kOverlay3(70, 110, 255);
inline const QColor kOverlay4(220, 120, 60);
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

// Colour of overlay 0..3.
inline const QColor& ofOverlay(int overlay) {
    static const QColor* const colours[] = {&kOverlay1, &kOverlay2, &kOverlay3, &kOverlay4};
    return *colours[overlay & 3];
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

// The drawn controls.
namespace oscilane::colour {

// The scope's knob: a two-tone ring, light on the upper right, around a face
// with a pointer.
inline const QColor kKnobRingLight(210, 210, 210);
inline const QColor kKnobRingDark(180, 180, 180);
inline const QColor kKnobFace(155, 155, 155);
inline const QColor kKnobPointer(255, 255, 255);
// A side bar's caption, shaded from top to bottom, and its close button.
inline const QColor kCaptionTop(74, 104, 150);
inline const QColor kCaptionBottom(40, 60, 94);
inline const QColor kCaptionText(255, 255, 255);
inline const QColor kCloseButton(214, 222, 234);
inline const QColor kCloseButtonHovered(250, 252, 255);
inline const QColor kCloseButtonPressed(170, 186, 210);

}  // namespace oscilane::colour
