// The desktop icons the picture generator draws: real PNG files of the right
// sizes, the 32 x 32 one the window's own icon pixel for pixel, the larger
// ones the same design.

#include "IconPaths.h"

#include <QImage>
#include <QtTest>

class IconsTest : public QObject {
    Q_OBJECT

private:
    static QImage load(const QString& name)
    {
        QImage image(QString::fromUtf8(kPicturesDir) + u'/' + name);
        return image.convertToFormat(QImage::Format_ARGB32);
    }

private slots:
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
        for (const int size : {64, 128}) {
            auto row = [size](const char* what) -> QTestData& { return QTest::addRow("%d: %s", size, what) << size; };
            row("top-left corner is clear") << QPointF(0.5, 0.5) << clear;
            row("bottom-right corner is clear") << QPointF(31.5, 31.5) << clear;
            row("sheet") << QPointF(4, 4) << white;
            row("sheet's frame") << QPointF(2, 10) << black;
            row("ruled line") << QPointF(9, 6.5) << blue;
            row("margin line") << QPointF(6.5, 20) << red;
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
