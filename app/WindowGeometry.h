#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <string_view>

namespace app {

// The place that Qt's -qwindowgeometry asks for, in X11 geometry syntax
// ("[WIDTHxHEIGHT][{+-}X{+-}Y]"), for a window of a fixed size: a size is
// read and left aside, a negative offset counts from the right or bottom
// edge of `available`. A text without a place, or not of that syntax, gives
// nothing, as Qt ignores it.
// "+0+0" -> (0, 0); "-0-0" on 1024x768 for 574x250 -> (450, 518).
std::optional<QPoint> requestedPlace(std::string_view geometry, QSize window, const QRect& available);

} // namespace app
