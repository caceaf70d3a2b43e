#pragma once

#include <QByteArrayView>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace ui::pictures {

inline const QString kBackground = QStringLiteral(":/pictures/ImageBak.jpg");
inline const QString kIcon = QStringLiteral(":/pictures/ImageIco.jpg");
inline const QString kDotGlyph = QStringLiteral(":/pictures/SBtnDot.bmp");
inline const QString kBackGlyph = QStringLiteral(":/pictures/SBtnBack.bmp");
inline const QString kCancelGlyph = QStringLiteral(":/pictures/BitBtnCancel.bmp");
inline const QString kApplicationIcon = QStringLiteral(":/pictures/qinghe-taxcalc.ico");

// JPEG bytes -> RGB image, decoded by libjpeg; a null image for bytes that
// are not a JPEG the library can read.
QImage decodeJpeg(QByteArrayView data);

// A JPEG picture of the resources.
QPixmap jpeg(const QString& resource);

// A glyph bitmap whose bottom-left pixel colour is transparent everywhere.
QPixmap glyph(const QString& resource);

QIcon applicationIcon();

} // namespace ui::pictures
