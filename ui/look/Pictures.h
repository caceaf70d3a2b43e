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

// A JPEG picture of the resources, for a screen of device pixel ratio
// `ratio`: the file itself at 1, drawn afresh from its design otherwise, so
// that it stays sharp.
QPixmap jpeg(const QString& resource, qreal ratio = 1);

// A glyph bitmap whose bottom-left pixel colour is transparent everywhere,
// for `ratio` as jpeg() draws.
QPixmap glyph(const QString& resource, qreal ratio = 1);

// The background for `ratio`, transparent outside the window's rounded shape:
// for platforms that cannot cut the window itself.
QPixmap clearedBackground(qreal ratio);

QIcon applicationIcon();

} // namespace ui::pictures
