#pragma once

#include <QByteArrayView>
#include <QImage>

namespace ui::pictures {

// The window's bitmaps and its icon are read here rather than by Qt's image
// readers, which would first load every image format plugin at start-up.

// A bitmap file ("BM", uncompressed, 1, 4, 8, 24 or 32 bits a pixel) -> an
// RGB image; a null image for anything else.
QImage decodeBmp(QByteArrayView data);

// The first picture of an icon file, its mask made transparent; a null image
// for anything else.
QImage decodeIco(QByteArrayView data);

} // namespace ui::pictures
