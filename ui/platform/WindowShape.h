#pragma once

#include <QRegion>
#include <QSize>

class QWidget;

namespace ui {

// The rounded rectangle of `size` pixels with corners cut by `diameter`, one
// rectangle a row: QRegion's own ellipses are neither sampled at pixel
// centres nor mirror images of each other.
QRegion roundedRegion(QSize size, double diameter);

// The device pixel ratio of the screen the window is on.
qreal screenRatio(const QWidget* window);

// Before the window's native window exists: where the platform cuts no
// windows, asks for a translucent one.
void prepareForShape(QWidget* window);

// Cuts the window to its rounded shape for device pixel ratio `ratio`. Where
// the platform refuses, the window stays rectangular.
void cutToShape(QWidget* window, qreal ratio);

} // namespace ui
