#include "ui/look/Pictures.h"

#include "ui/look/BitmapDecode.h"
#include "ui/look/PictureArt.h"
#include "ui/look/Scales.h"

#include <QFile>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// The pictures are compiled into the window's static library, where nothing
// else names their object file; naming it here makes the linker take it into
// every program that reads a picture. Outside any namespace, as the macro
// needs.
static void registerPictures() { Q_INIT_RESOURCE(pictures); }

namespace ui::pictures {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// jump back to decodeJpeg, which then owns no half-built state.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }

// QImage::Format_RGB32 holds 0xffRRGGBB words in the CPU's byte order: in
// memory B, G, R, 0xff on a little-endian CPU and 0xff, R, G, B on a
// big-endian one. libjpeg-turbo writes either order directly, so the picture
// needs no second pass to become a pixmap.
constexpr J_COLOR_SPACE kRgb32Order = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;

void decodeRows(jpeg_decompress_struct& info, QImage& image)
{
    jpeg_read_header(&info, TRUE);
    info.out_color_space = kRgb32Order;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
}

} // namespace

QImage decodeJpeg(QByteArrayView data)
{
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveDecoder;
    QImage image;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    decodeRows(info, image);
    jpeg_destroy_decompress(&info);
    return image;
}

namespace {

QByteArray resourceBytes(const QString& resource)
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The designs behind the picture files, for screens whose device pixel ratio
// is not 1.
art::Art drawn(const QString& resource, qreal ratio)
{
    using Draw = art::Art (*)(double);
    const std::pair<const QString*, Draw> designs[] = {
        {&kBackground, art::drawBackground},
        {&kIcon, art::drawIcon},
        {&kDotGlyph, art::drawDotGlyph},
        {&kBackGlyph, art::drawBackGlyph},
        {&kCancelGlyph, art::drawCancelGlyph},
    };
    for (const auto& [name, draw] : designs) {
        if (*name == resource) {
            return draw(ratio);
        }
    }
    return {};
}

QImage toImage(const art::Art& design)
{
    QImage image(design.width, design.height, QImage::Format_RGB32);
    for (int y = 0; y < design.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < design.width; ++x) {
            const art::Rgb p = design.at(x, y);
            line[x] = qRgb(p.r, p.g, p.b);
        }
    }
    return image;
}

// Beyond the largest scale the pictures are drawn at that ratio and Qt
// scales them.
qreal drawnRatio(qreal ratio) { return std::min(ratio, kLargestScale); }

// A picture at `ratio` device pixels a logical pixel: Qt then draws it one to
// one, without scaling it.
QPixmap forRatio(QImage image, qreal ratio)
{
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(std::move(image));
}

QImage clearBottomLeftColour(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == clear) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return image;
}

} // namespace

QPixmap jpeg(const QString& resource, qreal ratio)
{
    if (ratio == 1) {
        return QPixmap::fromImage(decodeJpeg(resourceBytes(resource)));
    }
    ratio = drawnRatio(ratio);
    return forRatio(toImage(drawn(resource, ratio)), ratio);
}

QPixmap glyph(const QString& resource, qreal ratio)
{
    ratio = drawnRatio(ratio);
    QImage image = ratio == 1 ? decodeBmp(resourceBytes(resource)) : toImage(drawn(resource, ratio));
    if (image.isNull()) {
        return {};
    }
    return forRatio(clearBottomLeftColour(std::move(image)), ratio);
}

QPixmap clearedBackground(qreal ratio)
{
    ratio = drawnRatio(ratio);
    QImage image = ratio == 1 ? decodeJpeg(resourceBytes(kBackground)) : toImage(drawn(kBackground, ratio));
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const double diameter = art::kCornerDiameter * ratio;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!art::insideRoundedRect(x, y, image.width(), image.height(), diameter)) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return forRatio(std::move(image), ratio);
}

QIcon applicationIcon() { return QIcon(QPixmap::fromImage(decodeIco(resourceBytes(kApplicationIcon)))); }

} // namespace ui::pictures
