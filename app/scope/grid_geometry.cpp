#include "scope/grid_geometry.h"

namespace oscilane {

GridRect bestFitGrid(int clientWidth, int clientHeight, const Margins& m,
                     const GridRect& previous) {
    const GridRect inner{m.left, m.top, clientWidth - m.right, clientHeight - m.bottom};
    const int w = inner.width();
    const int heightOfWidth = static_cast<int>(2.0 * w / 3.0);
    if (inner.top + heightOfWidth <= inner.bottom)
        return {inner.left, inner.top, inner.right, inner.top + heightOfWidth};
    const int widthOfHeight = static_cast<int>(1.5 * inner.height());
    if (inner.left + widthOfHeight <= inner.right)
        return {inner.left, inner.top, inner.left + widthOfHeight, inner.bottom};
    return previous;
}

}  // namespace oscilane
