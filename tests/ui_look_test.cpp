// How the window is drawn for the device pixel ratio it runs at: CTest runs
// this program offscreen at QT_SCALE_FACTOR 1, 1.5 and 2. The helpers behind
// it (corner rows, picture designs, text rendering) are checked at every ratio.

#include "calc/Hints.h"
#include "calc/TapeLines.h"
#include "ui/look/BitmapDecode.h"
#include "ui/look/Fonts.h"
#include "ui/look/PictureArt.h"
#include "ui/look/Pictures.h"
#include "ui/platform/WindowShape.h"
#include "ui/window/ErrorGuard.h"
#include "ui/window/GbkText.h"
#include "ui/window/UntCalc.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

const double kRatios[] = {1, 1.25, 1.5, 2, 3};

// Device pixels of a design drawn at `ratio` whose colour is neither of `a`, `b`.
int otherColours(const QImage& image, QRgb a, QRgb b)
{
    int others = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000;
            others += p != a && p != b ? 1 : 0;
        }
    }
    return others;
}

QRgb rgb(const ui::art::Rgb& p) { return qRgb(p.r, p.g, p.b); }

QImage toImage(const ui::art::Art& art)
{
    QImage image(art.width, art.height, QImage::Format_RGB32);
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width; ++x) {
            image.setPixel(x, y, rgb(art.at(x, y)));
        }
    }
    return image;
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ui::FrmCalc> w;
    qreal ratio = 1;

    template <class T = QWidget>
    T* child(const char* name) const
    {
        return w->findChild<T*>(QString::fromLatin1(name));
    }

private slots:
    void init()
    {
        w = std::make_unique<ui::FrmCalc>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        ratio = w->windowHandle()->devicePixelRatio();
    }

    void cleanup() { w.reset(); }

    void cornerRowsAreSampledAtPixelCentres()
    {
        const int atOne[] = {5, 3, 2, 1, 1, 0, 0, 0};
        const int atTwo[] = {12, 9, 7, 6, 5, 4, 3, 2, 2, 1, 1, 1, 0, 0, 0, 0};
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(ui::art::cornerCut(row, 16), atOne[row]);
        }
        for (int row = 0; row < 16; ++row) {
            QCOMPARE(ui::art::cornerCut(row, 32), atTwo[row]);
        }
        // At every ratio the cut shrinks row by row towards the middle.
        for (const double r : kRatios) {
            for (int row = 1; row < 16 * r; ++row) {
                QVERIFY(ui::art::cornerCut(row, 16 * r) <= ui::art::cornerCut(row - 1, 16 * r));
            }
        }
    }

    void regionCornersMirrorEachOther()
    {
        const QSize size(718, 313); // 574 x 250 at 1.25, odd in both directions
        const QRegion region = ui::roundedRegion(size, 20);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const bool in = region.contains(QPoint(x, y));
                QCOMPARE(region.contains(QPoint(size.width() - 1 - x, y)), in);
                QCOMPARE(region.contains(QPoint(x, size.height() - 1 - y)), in);
                QCOMPARE(ui::art::insideRoundedRect(x, y, size.width(), size.height(), 20), in);
            }
        }
    }

    // At 1 the designs are the committed files, so the window looks the same
    // whichever it draws.
    void designsAreTheFilesAtOne()
    {
        const std::pair<QString, ui::art::Art (*)(double)> glyphs[] = {
            {ui::pictures::kDotGlyph, ui::art::drawDotGlyph},
            {ui::pictures::kBackGlyph, ui::art::drawBackGlyph},
            {ui::pictures::kCancelGlyph, ui::art::drawCancelGlyph},
        };
        for (const auto& [resource, draw] : glyphs) {
            QFile file(resource);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(toImage(draw(1)), ui::pictures::decodeBmp(file.readAll()).convertToFormat(QImage::Format_RGB32));
        }
        // The background is a JPEG: the same up to its coding.
        const QImage file = ui::pictures::jpeg(ui::pictures::kBackground).toImage();
        const QImage drawn = toImage(ui::art::drawBackground(1));
        int worst = 0;
        for (int y = 0; y < 250; ++y) {
            for (int x = 0; x < 574; ++x) {
                const QRgb a = file.pixel(x, y), b = drawn.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                    std::abs(qBlue(a) - qBlue(b))});
            }
        }
        QVERIFY2(worst <= 24, qPrintable(QString::number(worst)));
    }

    void glyphsStaySharpAtEveryRatio()
    {
        const QRgb silver = rgb(ui::art::kSilver), black = rgb(ui::art::kBlack);
        for (const double r : kRatios) {
            const QImage dot = toImage(ui::art::drawDotGlyph(r));
            QCOMPARE(dot.size(), QSize(16, 16) * r);
            QCOMPARE(otherColours(dot, silver, black), 0);
            QCOMPARE(otherColours(toImage(ui::art::drawBackGlyph(r)), silver, black), 0);
            // The dot: columns 6 to 8, rows 10 to 12 of the design.
            const int inside = int(std::ceil(7.5 * r)), outside = int(std::floor(5.5 * r));
            QCOMPARE(dot.pixel(inside, int(11.5 * r)), black);
            QCOMPARE(dot.pixel(outside, int(11.5 * r)), silver);
            // The door: palette colours only, the bottom-left pixel clear.
            const ui::art::Art door = ui::art::drawCancelGlyph(r);
            QCOMPARE(rgb(door.at(0, door.height - 1)), silver);
            const QImage shown = ui::pictures::glyph(ui::pictures::kCancelGlyph, r).toImage();
            QCOMPARE(shown.devicePixelRatio(), r);
            QCOMPARE(qAlpha(shown.pixel(0, shown.height() - 1)), 0);
        }
    }

    void backgroundIsClearOutsideTheShapeOnly()
    {
        for (const double r : kRatios) {
            const QImage image = ui::pictures::clearedBackground(r).toImage();
            const QSize device(ui::art::deviceLength(574, r), ui::art::deviceLength(250, r));
            QCOMPARE(image.size(), device);
            const QRegion shape = ui::roundedRegion(device, 16 * r);
            int light = 0;
            for (int y = 0; y < device.height(); ++y) {
                for (int x = 0; x < device.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    QCOMPARE(qAlpha(p) == 255, shape.contains(QPoint(x, y)));
                    light += qAlpha(p) == 255 && qRed(p) >= 245 && qGreen(p) >= 245 && qBlue(p) >= 245 ? 1 : 0;
                }
            }
            QCOMPARE(light, 0);
        }
    }

    void textIsBiLevelUpToEighteenDevicePixels()
    {
        QCOMPARE(ui::fonts::renderingFor(12, 1), QFont::NoAntialias);
        QCOMPARE(ui::fonts::renderingFor(16, 1), QFont::NoAntialias);
        QCOMPARE(ui::fonts::renderingFor(12, 1.5), QFont::NoAntialias);
        QCOMPARE(ui::fonts::renderingFor(14, 1.5), QFont::PreferAntialias);
        QCOMPARE(ui::fonts::renderingFor(12, 2), QFont::PreferAntialias);
    }

    // From here on the window itself, at the ratio this run was given.
    void everyFontIsRenderedForTheRatio()
    {
        QList<QWidget*> widgets = w->findChildren<QWidget*>();
        widgets << w.get();
        for (QWidget* widget : widgets) {
            const QFont font = widget->font();
            QCOMPARE(font.styleStrategy() & (QFont::NoAntialias | QFont::PreferAntialias),
                ui::fonts::renderingFor(font.pixelSize(), ratio));
            // One engine of the face for Chinese, Latin and common characters.
            QVERIFY(font.styleStrategy() & QFont::NoFontMerging);
            // Bold captions are drawn by a style of the window's own.
            const bool outlined = font.bold();
            QCOMPARE(widget->style() != w->style(), outlined);
        }
    }

    // Without the merging of faces a character the Song face lacks would
    // show as a box: every character the window can show is in the face.
    void everyTextIsInTheSongFace()
    {
        QString texts = w->windowTitle();
        for (int hint = int(calc::Hint::Digits); hint <= int(calc::Hint::EntryLimit); ++hint) {
            texts += ui::fromGbk(calc::hintText(calc::Hint(hint)));
        }
        namespace tape = calc::tape_text;
        for (const std::string_view line :
            {tape::kSeparator, tape::kResultWord, tape::kOutOfRange, tape::kTaxLabel, tape::kRateLabel,
                tape::kPriceLabel, tape::kTotalLabel, tape::kRateSetLabel, tape::kZeroRate, tape::kNoPriceAtZeroRate}) {
            texts += ui::fromGbk(line);
        }
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            texts += label->text();
        }
        for (const QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
            texts += button->text();
        }
        // Numbers in every form, and the messages of the errors.
        for (char c = ' '; c <= '~'; ++c) {
            texts += QLatin1Char(c);
        }
        for (const int pixels : {12, 14, 16}) {
            const QFontMetrics metrics(ui::fonts::songFont(pixels, false, ratio));
            for (const QChar c : std::as_const(texts)) {
                QVERIFY2(metrics.inFont(c),
                    qPrintable(QStringLiteral("U+%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'))));
            }
        }
    }

    // Bold captions carry a bold weight at every ratio, bi-level or smoothed:
    // the title's white ink on the window colour, the key C's dark ink on its
    // face, each against the same caption in the regular face.
    void boldStaysBold_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("inside");
        QTest::addColumn<bool>("lightInk");
        QTest::addColumn<double>("heavier");
        QTest::newRow("title") << QStringLiteral("LblTitle") << QRect(0, 0, 84, 12) << true << 1.45;
        QTest::newRow("key C") << QStringLiteral("SBtnC") << QRect(3, 3, 22, 22) << false << 1.45;
    }

    void boldStaysBold()
    {
        QFETCH(QString, control);
        QFETCH(QRect, inside);
        QFETCH(bool, lightInk);
        QFETCH(double, heavier);
        auto* widget = w->findChild<QWidget*>(control);
        QVERIFY(widget);
        auto inkOf = [&](bool bold) {
            QFont font = widget->font();
            font.setBold(bold);
            widget->setFont(font);
            ui::fonts::fitText(w.get(), ratio);
            const QImage image = widget->grab(inside).toImage();
            int ink = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const int grey = qGray(image.pixel(x, y));
                    ink += (lightInk ? grey >= 192 : grey < 128) ? 1 : 0;
                }
            }
            return ink;
        };
        const int regular = inkOf(false);
        const int bold = inkOf(true);
        std::printf("  %s at %g: bold %d, regular %d device pixels of ink (%.0f a logical pixel)\n",
            qPrintable(control), ratio, bold, regular, bold / (ratio * ratio));
        QVERIFY2(bold >= heavier * regular, qPrintable(QStringLiteral("%1 against %2").arg(bold).arg(regular)));
    }

    void picturesAreDrawnForTheRatio()
    {
        const QPixmap background = child<QLabel>("ImageBak")->pixmap();
        QCOMPARE(background.devicePixelRatio(), ratio);
        QCOMPARE(background.size(), QSize(574, 250) * ratio);
        // Offscreen, as on Wayland, the platform cuts no windows.
        QVERIFY(w->testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(qAlpha(background.toImage().pixel(0, 0)), 0);
        QCOMPARE(child<QLabel>("ImageIco")->geometry(), QRect(13, 15, 16, 12));
        const QIcon dot = child<QAbstractButton>("SBtnDot")->icon();
        QCOMPARE(dot.pixmap(QSize(16, 16), ratio).size(), QSize(16, 16) * ratio);
    }

    void maskIsTheLogicalShape()
    {
        QCOMPARE(w->mask(), ui::roundedRegion(QSize(574, 250), 16));
        QVERIFY(!w->mask().contains(QPoint(4, 0)) && w->mask().contains(QPoint(5, 0)));
        QVERIFY(!w->mask().contains(QPoint(569, 249)) && w->mask().contains(QPoint(568, 249)));
    }

    void selectionReadsWithOrWithoutFocus()
    {
        auto* tape = child<QAbstractItemView>("ListBoxShow");
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            QCOMPARE(tape->palette().color(group, QPalette::Highlight), QColor(0x00, 0x00, 0x80));
            QCOMPARE(tape->palette().color(group, QPalette::HighlightedText), QColor(Qt::white));
        }
        for (const char* key : {"SBtn1", "SBtnAdd", "SBtn2", "SBtnEqual"}) {
            QTest::mouseClick(child<QAbstractButton>(key), Qt::LeftButton);
        }
        const QRect line = tape->visualRect(tape->currentIndex());
        for (const bool focused : {true, false}) {
            if (!focused) {
                child("MemoHint")->setFocus();
            }
            QCOMPARE(tape->hasFocus(), focused);
            const QImage image = tape->viewport()->grab(line).toImage();
            // Smoothed at some ratios, thin strokes never cover a whole pixel:
            // the ink is white where it is near white.
            int navy = 0, white = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    navy += p == qRgb(0, 0, 0x80) ? 1 : 0;
                    white += std::min({qRed(p), qGreen(p), qBlue(p)}) >= 0xE0 ? 1 : 0;
                }
            }
            QVERIFY(navy > image.width() * image.height() / 2);
            QVERIFY(white > 0);
        }
    }

    // The window's look is its own under any desktop style or palette; the
    // error box keeps the desktop's, with a Chinese button.
    void desktopThemeLeavesTheWindowAlone()
    {
        for (const char* key : {"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"}) {
            QTest::mouseClick(child<QAbstractButton>(key), Qt::LeftButton);
        }
        const QImage before = w->grab().toImage();
        const QString style = QApplication::style()->name();
        const QPalette palette = QApplication::palette();
        QPalette dark(QColor(0x32, 0x32, 0x32), QColor(0x24, 0x24, 0x24));
        dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
        QApplication::setStyle(QStringLiteral("Windows"));
        QApplication::setPalette(dark);
        QCoreApplication::processEvents();
        const QImage after = w->grab().toImage();
        const auto box = ui::ErrorGuard::errorBox(w.get(), QStringLiteral("t"), QStringLiteral("m"));
        const QString ok = box->button(QMessageBox::Ok)->text();
        const bool desktopLook = box->style() == QApplication::style() &&
            box->palette().color(QPalette::Button) == dark.color(QPalette::Button);
        QApplication::setStyle(style);
        QApplication::setPalette(palette);
        QCOMPARE(after, before);
        QCOMPARE(ok, QStringLiteral("确定"));
        QVERIFY(desktopLook);
    }

    void titleIsNotClipped()
    {
        auto* title = child<QLabel>("LblTitle");
        QVERIFY(title->width() >= title->fontMetrics().horizontalAdvance(title->text()));
    }
};

QTEST_MAIN(LookTest)
#include "ui_look_test.moc"
