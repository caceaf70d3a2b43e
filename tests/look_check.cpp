// Reads a screenshot of the calculator window and checks how it looks:
//   look-check <png> <scale> [--find-window] <check>...
// The picture is the window's rectangle in device pixels (with --find-window:
// a whole screen, the window being what is not the magenta background), drawn
// at `scale` device pixels a logical pixel, after 1 2 + 3 0 Enter. Checks:
//   corners  outside the rounded shape the magenta background shows, row for
//            row as a corner ellipse of 16 x scale pixels cuts it, the four
//            corners alike, and no light pixel of the picture's corner inside
//   text     the tape's ink is dark, the selected line reads at 7:1 or more,
//            the white labels reach #FFFFFF
//   bold     the bold key C carries a bold weight, not a regular one
//   title    no check: prints the title's light pixels (grey 192 or more) as
//            "title light: N", for a script to hold against another screenshot
// Prints its figures; exits 1 when a check fails.

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr QRgb kBackdrop = qRgb(0xFF, 0x00, 0xFF);
constexpr QRgb kTape = qRgb(0xD2, 0xDA, 0xDD);
constexpr QRgb kNavy = qRgb(0x00, 0x00, 0x80);

int failures = 0;

void expect(bool ok, const char* what)
{
    std::printf("  %s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) {
        ++failures;
    }
}

// A logical rectangle of the layout in device pixels.
QRect device(QRect logical, double scale)
{
    const auto at = [scale](int v) { return int(std::lround(v * scale)); };
    return QRect(QPoint(at(logical.left()), at(logical.top())),
        QPoint(at(logical.left() + logical.width()) - 1, at(logical.top() + logical.height()) - 1));
}

// The rows a corner ellipse of `diameter` pixels cuts, worked out here
// afresh: the pixels whose centres lie outside the circle.
int expectedCut(int row, double diameter)
{
    const double r = diameter / 2;
    int cut = 0;
    while (cut < r) {
        const double dx = r - (cut + 0.5), dy = r - (row + 0.5);
        if (dy <= 0 || dx * dx + dy * dy <= r * r) {
            break;
        }
        ++cut;
    }
    return cut;
}

double luminance(QColor c)
{
    auto channel = [](double v) {
        v /= 255;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(QColor a, QColor b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void checkCorners(const QImage& image, double scale)
{
    const int w = image.width(), h = image.height();
    const double diameter = 16 * scale;
    const int rows = int(std::ceil(diameter / 2));
    bool exact = true, mirrored = true;
    std::vector<int> topLeft;
    for (int row = 0; row < rows; ++row) {
        int cuts[4];
        const int ys[2] = {row, h - 1 - row};
        for (int corner = 0; corner < 4; ++corner) {
            const int y = ys[corner / 2];
            const bool fromLeft = corner % 2 == 0;
            int cut = 0;
            while (cut < w / 2 && image.pixel(fromLeft ? cut : w - 1 - cut, y) == kBackdrop) {
                ++cut;
            }
            cuts[corner] = cut;
        }
        topLeft.push_back(cuts[0]);
        exact = exact && cuts[0] == expectedCut(row, diameter);
        mirrored = mirrored && cuts[1] == cuts[0] && cuts[2] == cuts[0] && cuts[3] == cuts[0];
    }
    std::printf("  corner rows from the edge:");
    for (int cut : topLeft) {
        std::printf(" %d", cut);
    }
    std::printf("\n");
    expect(exact, "each row cut as a corner ellipse of 16 x scale pixels cuts it");
    expect(mirrored, "the four corners are mirror images of each other");
    if (scale == 1) {
        expect(topLeft.size() >= 6 &&
                std::vector<int>(topLeft.begin(), topLeft.begin() + 6) == std::vector<int>{5, 3, 2, 1, 1, 0},
            "at 1 the rows cut 5, 3, 2, 1, 1, 0");
    }
    if (scale == 2) {
        expect(std::vector<int>(topLeft.begin(), topLeft.begin() + 5) == std::vector<int>{12, 9, 7, 6, 5},
            "at 2 the rows cut 12, 9, 7, 6, 5");
    }
    int light = 0, holes = 0;
    const int square = int(std::lround(16 * scale));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            const bool inCorner = (x < square || x >= w - square) && (y < square || y >= h - square);
            if (inCorner && p != kBackdrop && qRed(p) >= 245 && qGreen(p) >= 245 && qBlue(p) >= 245) {
                ++light;
            }
            if (!inCorner && p == kBackdrop) {
                ++holes;
            }
        }
    }
    std::printf("  light pixels inside the corners: %d; background showing elsewhere: %d\n", light, holes);
    expect(light == 0, "no pixel of the picture's light outside shows inside the shape");
    expect(holes == 0, "the window is whole outside its corners");
}

// The rows of the tape's viewport painted navy: the selected line. Its top and
// bottom rows carry the dotted focus cue while the tape has the focus, so a
// row counts when a third of it is navy.
std::optional<QRect> selectedBand(const QImage& image, QRect viewport)
{
    int top = -1, bottom = -1;
    for (int y = viewport.top(); y <= viewport.bottom(); ++y) {
        int navy = 0;
        for (int x = viewport.left(); x <= viewport.right(); ++x) {
            navy += image.pixel(x, y) == kNavy ? 1 : 0;
        }
        if (navy * 3 > viewport.width()) {
            if (top < 0) {
                top = y;
            } else if (bottom != y - 1) {
                return std::nullopt; // two bands
            }
            bottom = y;
        }
    }
    if (top < 0) {
        return std::nullopt;
    }
    return QRect(viewport.left(), top, viewport.width(), bottom - top + 1);
}

void checkText(const QImage& image, double scale)
{
    const QRect viewport = device({14, 35, 184, 150}, scale);
    const auto band = selectedBand(image, viewport);
    expect(band.has_value(), "one tape line is shown selected");
    if (band) {
        std::printf("  selected band: %d device rows\n", band->height());
        expect(std::abs(band->height() - 12 * scale) <= 1, "the band is one 12-pixel line high");
        QColor brightest(Qt::black);
        for (int y = band->top(); y <= band->bottom(); ++y) {
            for (int x = band->left(); x <= band->right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                if (luminance(p) > luminance(brightest)) {
                    brightest = p;
                }
            }
        }
        const double ratio = contrast(brightest, QColor(kNavy));
        std::printf("  selected line: text %s on %s, contrast %.1f:1\n", qPrintable(brightest.name()),
            qPrintable(QColor(kNavy).name()), ratio);
        expect(ratio >= 7, "the selected line's text has at least 7:1 contrast");
    }
    int ink = 0, dark = 0, darkest = 255 * 3;
    for (int y = viewport.top(); y <= viewport.bottom(); ++y) {
        if (band && y >= band->top() && y <= band->bottom()) {
            continue;
        }
        for (int x = viewport.left(); x <= viewport.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == kTape) {
                continue;
            }
            ++ink;
            dark += qRed(p) < 0x50 && qGreen(p) < 0x50 && qBlue(p) < 0x50 ? 1 : 0;
            darkest = std::min(darkest, qRed(p) + qGreen(p) + qBlue(p));
        }
    }
    const double share = ink > 0 ? double(dark) / ink : 0;
    std::printf("  tape ink: %d pixels, %.1f %% darker than #505050\n", ink, 100 * share);
    // Smoothed text has grey edges; bi-level text has none.
    const bool biLevel = 12 * scale <= 18;
    expect(share >= (biLevel ? 0.99 : 0.4), biLevel ? "bi-level tape ink is black" : "smoothed tape ink is dark");
    expect(darkest == 0, "the tape's text colour is black");
    for (const auto& [name, rect] :
        {std::pair{"rate label", QRect(449, 16, 60, 12)}, {"title", QRect(38, 15, 84, 12)}}) {
        int whitest = 0;
        const QRect area = device(rect, scale);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                whitest = std::max(whitest, std::min({qRed(p), qGreen(p), qBlue(p)}));
            }
        }
        std::printf("  %s: whitest pixel #%02X%02X%02X\n", name, whitest, whitest, whitest);
        expect(whitest == 255, "the white label reaches #FFFFFF");
    }
}

template <class Counted>
int pixelsWhere(const QImage& image, QRect area, Counted counted)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += counted(qGray(image.pixel(x, y))) ? 1 : 0;
        }
    }
    return count;
}

int darkPixels(const QImage& image, QRect area)
{
    return pixelsWhere(image, area, [](int grey) { return grey < 128; });
}

void printTitleLight(const QImage& image, double scale)
{
    std::printf("  title light: %d\n",
        pixelsWhere(image, device({38, 15, 84, 12}, scale), [](int grey) { return grey >= 192; }));
}

void checkBold(const QImage& image, double scale)
{
    // SBtnC: the key pad at 208, 35, the key at 160, 80, 28 x 28; inside its bevel.
    const int onScreen = darkPixels(image, device({208 + 163, 35 + 83, 22, 22}, scale));
    // The same caption in the regular face, drawn as the window draws text.
    QImage regular(device({0, 0, 22, 22}, scale).size(), QImage::Format_RGB32);
    regular.fill(Qt::white);
    regular.setDevicePixelRatio(scale);
    {
        QPainter painter(&regular);
        QFont font(QStringLiteral("AR PL SungtiL GB"));
        font.setPixelSize(16);
        font.setStyleStrategy(16 * scale <= 18 ? QFont::NoAntialias : QFont::PreferAntialias);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, 22, 22), Qt::AlignCenter, QStringLiteral("C"));
    }
    const int reference = darkPixels(regular, regular.rect());
    const double weight = reference > 0 ? double(onScreen) / reference : 0;
    std::printf("  key C: %d dark pixels, the regular face %d: x %.2f\n", onScreen, reference, weight);
    expect(weight >= 1.5, "the bold caption is at least half as heavy again as the regular one");
}

// The window in a screenshot of a whole screen: what is not the backdrop.
QImage findWindow(const QImage& screen)
{
    QRect box;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            if (screen.pixel(x, y) != kBackdrop) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return screen.copy(box);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: look-check <png> <scale> [--find-window] corners|text|bold|title...\n");
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    const double scale = std::atof(argv[2]);
    if (image.isNull() || scale <= 0) {
        std::fprintf(stderr, "look-check: cannot read %s at scale %s\n", argv[1], argv[2]);
        return 2;
    }
    image = image.convertToFormat(QImage::Format_RGB32);
    for (int i = 3; i < argc; ++i) {
        const std::string_view check = argv[i];
        if (check == "--find-window") {
            image = findWindow(image);
            std::printf("window: %d x %d device pixels\n", image.width(), image.height());
            continue;
        }
        std::printf("%s at %g:\n", argv[i], scale);
        if (check == "corners") {
            checkCorners(image, scale);
        } else if (check == "text") {
            checkText(image, scale);
        } else if (check == "bold") {
            checkBold(image, scale);
        } else if (check == "title") {
            printTitleLight(image, scale);
        } else {
            std::fprintf(stderr, "look-check: no check %s\n", argv[i]);
            return 2;
        }
    }
    return failures == 0 ? 0 : 1;
}
