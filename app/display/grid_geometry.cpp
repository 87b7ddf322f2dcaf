#include "display/grid_geometry.h"

namespace oscilane {

GridRect bestFitGrid(int clientWidth, int clientHeight, const Margins& m, const GridRect& previous,
                     Divisions d) {
    const GridRect inner{m.left, m.top, clientWidth - m.right, clientHeight - m.bottom};
    // One division each way, so the products are exact and each quotient is
    // rounded once (12 x 8 gives exactly 2w/3 and 1.5h).
    const int heightOfWidth =
        static_cast<int>(static_cast<double>(d.down) * inner.width() / d.across);
    if (inner.top + heightOfWidth <= inner.bottom)
        return {inner.left, inner.top, inner.right, inner.top + heightOfWidth};
    const int widthOfHeight =
        static_cast<int>(static_cast<double>(d.across) * inner.height() / d.down);
    if (inner.left + widthOfHeight <= inner.right)
        return {inner.left, inner.top, inner.left + widthOfHeight, inner.bottom};
    return previous;
}

}  // namespace oscilane
