#pragma once

#include <QFont>

class QWidget;

namespace ui::fonts {

// The Song face's own rendering table asks for no greyscale below 19 pixels
// per em: up to 18 device pixels its glyphs are drawn bi-level, crisp and
// fully black, each byte one whole 6-pixel column at 12 pixels.
inline constexpr int kLargestBiLevelPixels = 18;

// How a face of `pixels` logical pixels is drawn at device pixel ratio
// `ratio`: renderingFor(12, 1) -> NoAntialias, renderingFor(12, 2) ->
// PreferAntialias.
QFont::StyleStrategy renderingFor(int pixels, qreal ratio);

// The Song face of code page 936 at `pixels`, drawn as renderingFor(pixels,
// ratio) says: the window's faces, and the program's own font.
QFont songFont(int pixels, bool bold, qreal ratio = 1);

// While it lives, the application's font is the window's Song face and its
// layout direction left to right, as the window needs them: the program's,
// or a host's that borrows the window through ui::pickValue; a host gets its
// own back when the window goes.
class ApplicationText {
public:
    ApplicationText();
    ~ApplicationText();
    ApplicationText(const ApplicationText&) = delete;
    ApplicationText& operator=(const ApplicationText&) = delete;

private:
    QFont font_;
    Qt::LayoutDirection direction_;
};

// Sets the rendering of every font of `window` and its controls for `ratio`.
// Bold captions are drawn as outlines, one logical pixel heavier than the
// regular face, at every ratio.
void fitText(QWidget* window, qreal ratio);

} // namespace ui::fonts
