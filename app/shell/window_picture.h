// A picture of a window as the user sees it on the screen: the window's own
// pixels (QWidget::grab, so overlapping windows never show in it and it works
// where the screen itself cannot be read), cut to the part that lies on the
// screen.  The scope, meter and generator windows take their pictures here.
#pragma once

#include <QImage>
#include <QRect>

class QWidget;

namespace oscilane {

// The part of a window's screen rectangle that lies on a screen whose
// geometry is `screen`; empty when the window is empty or wholly off it.
QRect visiblePartOnScreen(const QRect& windowOnScreen, const QRect& screen);

// The window's pixels inside `visible` (screen coordinates, as from
// visiblePartOnScreen), at one image pixel per screen pixel; a null image
// for an empty rectangle.
QImage grabVisiblePart(QWidget* window, const QRect& visible);

// grabVisiblePart of the window's part on its own screen.
QImage grabWindowOnScreen(QWidget* window);

}  // namespace oscilane
