#pragma once

class QWidget;

namespace ui {

// The window draws every pixel as its own design says, whatever style,
// palette or theme the desktop has chosen: a dark theme must not turn its keys
// dark under black glyphs, nor a style drop the pads' bevels.
//
// Gives `window` a style of its own (Qt's Fusion, which draws the bevels the
// design was made with) and the light palette of a desktop without a theme,
// every role set so that none falls through to the desktop's. Call before the window paints its own
// colours over that palette.
void takeFixedLook(QWidget* window);

// Hands the window's style to each of its controls; a style is not inherited.
// Call once the controls are made.
void spreadFixedLook(QWidget* window);

} // namespace ui
