// The window's first paint, in a process of its own so that nothing was
// painted before it: no thread is started for it, and the background picture
// shows whole wherever no control lies on it.

#include "ui/look/Pictures.h"
#include "ui/window/UntCalc.h"

#include <QDir>
#include <QLabel>
#include <QtTest>

namespace {

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

} // namespace

class PaintTest : public QObject {
    Q_OBJECT

private slots:
    void firstPaintStartsNoThread()
    {
        const int before = threadCount();
        ui::FrmCalc w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(threadCount(), before);
    }

    void backgroundShowsBetweenTheControls()
    {
        ui::FrmCalc w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage drawn = w.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        auto* background = w.findChild<QLabel*>(QStringLiteral("ImageBak"));
        QVERIFY(background);
        const QImage picture = background->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), drawn.size());
        QRegion open(background->geometry());
        for (QWidget* control : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control != background) {
                open -= control->geometry();
            }
        }
        int compared = 0;
        for (const QRect& part : open) {
            for (int y = part.top(); y <= part.bottom(); ++y) {
                for (int x = part.left(); x <= part.right(); ++x) {
                    // Outside the rounded shape the picture is clear.
                    if (qAlpha(picture.pixel(x, y)) == 255) {
                        QCOMPARE(drawn.pixel(x, y), picture.pixel(x, y));
                        ++compared;
                    }
                }
            }
        }
        // The margins, the gaps between the panels and the corners' insides.
        QVERIFY(compared > 10000);
    }
};

QTEST_MAIN(PaintTest)
#include "ui_paint_test.moc"
