#include "scope/scope_markers.h"

#include <algorithm>

#include "model/scope_scales.h"
#include "scope/scope_commands.h"

namespace oscilane {
namespace {

constexpr int kLevelMarkerOffset = 20;  // level markers stand this far left of the grid
constexpr int kTriggerSideOffset = 20;  // a sideways trigger marker, right of the grid
constexpr int kTriggerRailOffset = 15;  // a trigger marker on the top or bottom rail
constexpr int kAboveGridOffset = 15;    // horizontal markers stand this far above the grid

int heightOfLever(const GridRect& g, int lever) {
    return static_cast<int>(g.top + g.height() * static_cast<double>(lever) / kLeverMax);
}

int topMarkerY(const GridRect& g) { return g.top - kAboveGridOffset; }

QPolygon polygon(std::initializer_list<QPoint> points) { return QPolygon(QList<QPoint>(points)); }

MarkerShape downArrow(int x, int y0, QPoint label) {
    return {polygon({{x, y0 + 13}, {x - 5, y0 + 7}, {x - 5, y0}, {x + 6, y0}, {x + 6, y0 + 7}}),
            label};
}

GridRect rectOf(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

int leverOfHeight(const GridRect& g, int y) {
    return static_cast<int>(static_cast<double>(y - g.top) / (g.bottom - g.top) * kLeverMax);
}

}  // namespace

int xyAreaLeft(const GridRect& g) { return g.left + g.width() / 6; }
int xyAreaRight(const GridRect& g) { return g.right - g.width() / 6; }

MarkerPlace levelMarkerPlace(const GridRect& g, int lever) {
    return {{g.left - kLevelMarkerOffset, heightOfLever(g, lever)}, Pointing::Right};
}

MarkerPlace triggerMarkerPlace(const GridRect& g, int level) {
    if (level <= 0) return {{g.right + kTriggerRailOffset, g.top}, Pointing::Up};
    if (level >= kLeverMax) return {{g.right + kTriggerRailOffset, g.bottom}, Pointing::Down};
    return {{g.right + kTriggerSideOffset, heightOfLever(g, level)}, Pointing::Left};
}

MarkerPlace triggerMarkerAtY(const GridRect& g, int y) {
    if (y <= g.top) return {{g.right + kTriggerRailOffset, y}, Pointing::Up};
    if (y >= g.bottom) return {{g.right + kTriggerRailOffset, y}, Pointing::Down};
    return {{g.right + kTriggerSideOffset, y}, Pointing::Left};
}

MarkerPlace extTriggerMarkerPlace(const GridRect& g, int level) {
    return {{g.right + kTriggerSideOffset, heightOfLever(g, std::clamp(level, 0, kLeverMax))},
            Pointing::Left};
}

MarkerPlace horizontalMarkerPlace(const GridRect& g, int position) {
    const int y0 = topMarkerY(g);
    if (position < 1) return {{g.left, y0}, Pointing::Left};
    if (position >= kHorizontalUnits - 1) return {{g.right, y0}, Pointing::Right};
    const double centre = (g.left + g.right) / 2.0;
    const int x = static_cast<int>(centre + g.width() * (position - 150.0) / kHorizontalUnits);
    return {{x, y0}, Pointing::Down};
}

MarkerPlace horizontalMarkerAtX(const GridRect& g, int x) {
    const int y0 = topMarkerY(g);
    if (x <= g.left) return {{x, y0}, Pointing::Left};
    if (x >= g.right) return {{x, y0}, Pointing::Right};
    return {{x, y0}, Pointing::Down};
}

MarkerPlace xyMarkerPlace(const GridRect& g, int lever) {
    const double centre = (g.left + g.right) / 2.0;
    const int x = static_cast<int>(centre + g.width() * (99.0 - lever) / kHorizontalUnits);
    return {{x, topMarkerY(g)}, Pointing::Down};
}

MarkerShape markerShape(int marker, const MarkerPlace& place) {
    const int x = place.point.x();
    const int y = place.point.y();
    if (marker <= kRefLevelMarker) {
        static constexpr int kLabelDx[] = {4, 4, 2, 3};  // "1", "2", "M", "R"
        return {polygon({{x + 17, y}, {x + 10, y + 6}, {x, y + 6}, {x, y - 5}, {x + 10, y - 6}}),
                {x + kLabelDx[marker], y - 6}};
    }
    if (marker == kXyHorizontalMarker) return downArrow(x, y, {x - 2, y - 1});
    if (marker == kHorizontalTriggerMarker) {
        switch (place.pointing) {
            case Pointing::Right:
                return {
                    polygon(
                        {{x, y + 5}, {x - 5, y}, {x - 17, y}, {x - 17, y + 10}, {x - 7, y + 11}}),
                    {x - 13, y - 1}};
            case Pointing::Left:
                return {
                    polygon(
                        {{x, y + 5}, {x + 5, y}, {x + 17, y}, {x + 17, y + 11}, {x + 5, y + 11}}),
                    {x + 8, y - 1}};
            default:
                return downArrow(x, y, {x - 2, y - 2});
        }
    }
    switch (place.pointing) {
        case Pointing::Up:
            return {
                polygon({{x - 6, y}, {x, y + 6}, {x, y + 17}, {x - 11, y + 17}, {x - 11, y + 6}}),
                {x - 8, y + 4}};
        case Pointing::Down:
            return {
                polygon({{x - 6, y}, {x, y - 6}, {x, y - 17}, {x - 11, y - 17}, {x - 11, y - 6}}),
                {x - 8, y - 17}};
        default:
            return {
                polygon({{x - 17, y}, {x - 12, y - 5}, {x, y - 5}, {x, y + 6}, {x - 12, y + 6}}),
                {x - 9, y - 6}};
    }
}

GridRect markerHitRect(int marker, const MarkerPlace& place, const GridRect& g) {
    const int x = place.point.x();
    const int y = place.point.y();
    if (marker <= kRefLevelMarker) return rectOf(x, y - 5, x + 17, y + 6);
    if (marker == kXyHorizontalMarker) return rectOf(x - 5, y, x + 6, y + 13);
    if (marker == kHorizontalTriggerMarker) {
        switch (place.pointing) {
            case Pointing::Left:
                return rectOf(g.left, y, g.left + 17, y + 11);
            case Pointing::Right:
                return rectOf(g.right - 17, y, g.right, y + 11);
            default:
                return rectOf(x - 5, y, x + 6, y + 13);
        }
    }
    switch (place.pointing) {
        case Pointing::Up:
            return rectOf(x - 11, g.top, x, g.top + 17);
        case Pointing::Down:
            return rectOf(x - 11, g.bottom - 17, x, g.bottom);
        default:
            return rectOf(x - 17, y - 5, x, y + 6);
    }
}

MarkerPlace draggedMarkerPlace(int marker, const MarkerPlace& place, QPoint mouse,
                               const GridRect& g) {
    const int y = std::clamp(mouse.y(), g.top, g.bottom);
    switch (marker) {
        case kCh1TriggerMarker:
        case kCh2TriggerMarker:
            return triggerMarkerAtY(g, y);
        case kExtTriggerMarker:
            return {{g.right + kTriggerSideOffset, y}, Pointing::Left};
        case kHorizontalTriggerMarker:
            return horizontalMarkerAtX(g, std::clamp(mouse.x(), g.left, g.right));
        case kXyHorizontalMarker:
            return {{std::clamp(mouse.x(), xyAreaLeft(g), xyAreaRight(g)), place.point.y()},
                    Pointing::Down};
        default:
            return {{place.point.x(), y}, Pointing::Right};
    }
}

QueuedCommand markerDropCommand(int marker, const MarkerPlace& place, const GridRect& g) {
    const int x = place.point.x();
    if (marker == kHorizontalTriggerMarker)
        return scope_command::horizontalTrigger(static_cast<int>(
            static_cast<double>(x - g.left) / (g.right - g.left) * kHorizontalUnits));
    if (marker == kXyHorizontalMarker) {
        const double across = 2.0 * g.width() / 3.0;
        return scope_command::position(
            ScopeChannel::Ch1,
            static_cast<int>(kLeverMax - (x - xyAreaLeft(g)) / across * kLeverMax));
    }
    const int lever = leverOfHeight(g, place.point.y());
    switch (marker) {
        case kCh1LevelMarker:
            return scope_command::position(ScopeChannel::Ch1, lever);
        case kCh2LevelMarker:
            return scope_command::position(ScopeChannel::Ch2, lever);
        case kMathLevelMarker:
            return scope_command::position(ScopeChannel::Math, lever);
        case kRefLevelMarker:
            return scope_command::position(ScopeChannel::Ref, lever);
        case kCh1TriggerMarker:
            return scope_command::triggerLevel(LevelSource::Ch1, lever);
        case kCh2TriggerMarker:
            return scope_command::triggerLevel(LevelSource::Ch2, lever);
        case kExtTriggerMarker:
            return scope_command::triggerLevel(LevelSource::Ext, lever);
        default:
            return {};
    }
}

}  // namespace oscilane
