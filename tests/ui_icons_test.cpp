// The desktop icons the picture generator draws: real PNG files of every
// size menus ask for, the small ones pixel-crisp, the 32 x 32 one the
// window's own icon pixel for pixel, the larger ones and the SVG the same
// design.

#include "IconPaths.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

#include <array>
#include <cstdlib>

class IconsTest : public QObject {
    Q_OBJECT

private:
    static QImage load(const QString& name)
    {
        QImage image(QString::fromUtf8(kPicturesDir) + u'/' + name);
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    static bool inPalette(QRgb p)
    {
        // The standard 16 colours: each channel 0, 128 or 255, or all 192.
        const std::array channels{qRed(p), qGreen(p), qBlue(p)};
        if (channels == std::array{192, 192, 192}) {
            return true;
        }
        return std::all_of(channels.begin(), channels.end(), [](int c) { return c == 0 || c == 128 || c == 255; });
    }

private slots:
    void everySize_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {16, 22, 24, 32, 48, 64, 128}) {
            QTest::addRow("%d px", size) << size;
        }
    }

    void everySize()
    {
        QFETCH(int, size);
        const QImage image = load(QStringLiteral("qinghe-taxcalc-%1.png").arg(size));
        QCOMPARE(image.size(), QSize(size, size));
        int clear = 0, teal = 0, yellow = 0, aqua = 0, blue = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb p = image.pixel(x, y);
                clear += qAlpha(p) == 0;
                teal += p == qRgb(0, 128, 128);
                yellow += p == qRgb(255, 255, 0);
                aqua += p == qRgb(0, 255, 255);
                blue += p == qRgb(0, 0, 255);
                // Up to 32 pixels each pixel is whole: no shape scaled down
                // into half-covered pixels.
                if (size <= 32 && qAlpha(p) != 0) {
                    QVERIFY2(qAlpha(p) == 255 && inPalette(p),
                        qPrintable(QStringLiteral("(%1, %2) is #%3").arg(x).arg(y).arg(p, 8, 16, QChar(u'0'))));
                }
            }
        }
        // Every size shows the calculator, the pencil and a clear outside.
        const int area = size * size;
        QVERIFY2(teal > area / 10, qPrintable(QString::number(teal)));
        QVERIFY2(yellow > area / 100, qPrintable(QString::number(yellow)));
        QVERIFY2(clear > area / 10, qPrintable(QString::number(clear)));
        // Its display and the sheet's rules stay inside their frames, however
        // small the icon: a frame snapped over its inside would hide them.
        QVERIFY2(aqua >= size / 4, qPrintable(QString::number(aqua)));
        QVERIFY2(blue >= size, qPrintable(QString::number(blue)));
    }

    void scalableIsTheSameDesign()
    {
        QSvgRenderer svg(QString::fromUtf8(kPicturesDir) + QStringLiteral("/qinghe-taxcalc.svg"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, 32, 32));
        const QImage png = load(QStringLiteral("qinghe-taxcalc-128.png"));
        QImage drawn(128, 128, QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        // Both are drawn from the same shapes; they differ only where an edge
        // is smoothed one way or the other.
        int differing = 0;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const QRgb a = png.pixel(x, y), b = drawn.pixel(x, y);
                const int most = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
                differing += most > 64;
            }
        }
        QVERIFY2(differing < 128 * 128 / 50, qPrintable(QString::number(differing)));
    }

    void smallIconIsTheWindowIcon()
    {
        const QImage png = load(QStringLiteral("qinghe-taxcalc-32.png"));
        const QImage ico = load(QStringLiteral("qinghe-taxcalc.ico"));
        QCOMPARE(png.size(), QSize(32, 32));
        QCOMPARE(ico.size(), QSize(32, 32));
        int clear = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb p = png.pixel(x, y), i = ico.pixel(x, y);
                QCOMPARE(qAlpha(p), qAlpha(i));
                if (qAlpha(i) == 0) {
                    ++clear;
                } else {
                    QCOMPARE(p, i);
                }
            }
        }
        // Round the sheet and the calculator the icon leaves the background.
        QVERIFY(clear > 100);
    }

    void largeIcon_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QPointF>("at"); // on the design's 32-unit grid
        QTest::addColumn<QColor>("colour");
        const QColor clear(0, 0, 0, 0), white(255, 255, 255), black(0, 0, 0), blue(0, 0, 255), red(255, 0, 0),
            teal(0, 128, 128), aqua(0, 255, 255), yellow(255, 255, 0);
        for (const int size : {48, 64, 128}) {
            auto row = [size](const char* what) -> QTestData& { return QTest::addRow("%d: %s", size, what) << size; };
            row("top-left corner is clear") << QPointF(0.5, 0.5) << clear;
            row("bottom-right corner is clear") << QPointF(31.5, 31.5) << clear;
            row("sheet") << QPointF(4, 4) << white;
            row("sheet's frame") << QPointF(2, 10) << black;
            row("ruled line") << QPointF(9, 6.75) << blue;
            row("margin line") << QPointF(6.75, 20) << red;
            row("calculator") << QPointF(13, 17) << teal;
            row("display") << QPointF(20, 14) << aqua;
            row("key") << QPointF(15, 19) << black;
            row("pencil") << QPointF(24.5, 7.5) << yellow;
            row("eraser") << QPointF(29.5, 2.5) << red;
        }
    }

    void largeIcon()
    {
        QFETCH(int, size);
        QFETCH(QPointF, at);
        QFETCH(QColor, colour);
        const QImage image = load(QStringLiteral("qinghe-taxcalc-%1.png").arg(size));
        QCOMPARE(image.size(), QSize(size, size));
        const double scale = size / 32.0;
        const QColor seen = image.pixelColor(int(at.x() * scale), int(at.y() * scale));
        if (colour.alpha() == 0) {
            QCOMPARE(seen.alpha(), 0);
        } else {
            QCOMPARE(seen, colour);
        }
    }

    void edgesAreSmoothed()
    {
        // The slanted pencil is drawn with partial cover along its sides.
        const QImage image = load(QStringLiteral("qinghe-taxcalc-128.png"));
        int partial = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (const int a = qAlpha(image.pixel(x, y)); a > 0 && a < 255) {
                    ++partial;
                }
            }
        }
        QVERIFY2(partial > 20, qPrintable(QString::number(partial)));
    }
};

QTEST_MAIN(IconsTest)
#include "ui_icons_test.moc"
