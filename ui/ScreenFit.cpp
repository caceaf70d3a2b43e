#include "ui/ScreenFit.h"

#include <algorithm>

namespace ui {

QPoint fitInside(const QRect& window, const QRect& available)
{
    // The right and bottom limits first, then the left and top ones, so that
    // a window too large for the area shows its top left corner.
    const int left = std::max(available.left(), std::min(window.left(), available.right() - window.width() + 1));
    const int top = std::max(available.top(), std::min(window.top(), available.bottom() - window.height() + 1));
    return {left, top};
}

} // namespace ui
