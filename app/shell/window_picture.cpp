#include "shell/window_picture.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace oscilane {

QRect visiblePartOnScreen(const QRect& windowOnScreen, const QRect& screen) {
    if (windowOnScreen.isEmpty()) return {};
    return windowOnScreen.intersected(screen);
}

QImage grabVisiblePart(QWidget* window, const QRect& visible) {
    if (!window || visible.isEmpty()) return {};
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    const QRect inWindow = visible.translated(-origin).intersected(window->rect());
    if (inWindow.isEmpty()) return {};
    QImage picture = window->grab(inWindow).toImage();
    // On a scaled display the grab holds device pixels; the file holds one
    // pixel per screen pixel, as the window's size says.
    if (picture.size() != inWindow.size())
        picture = picture.scaled(inWindow.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(1.0);
    return picture;
}

QImage grabWindowOnScreen(QWidget* window) {
    if (!window) return {};
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect onScreen(window->mapToGlobal(QPoint(0, 0)), window->size());
    return grabVisiblePart(window, visiblePartOnScreen(onScreen, screen->geometry()));
}

}  // namespace oscilane
