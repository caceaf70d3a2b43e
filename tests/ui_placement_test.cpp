// Where the window goes and which way it reads: whole on a screen too small
// for its place, and never mirrored by a right-to-left desktop.

#include "ui/platform/ScreenFit.h"
#include "ui/window/UntCalc.h"

#include <QAbstractButton>
#include <QtTest>

class PlacementTest : public QObject {
    Q_OBJECT

private slots:
    void fitInside_data()
    {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("place");
        const QRect fixed(182, 175, 574, 250);
        QTest::newRow("fits") << fixed << QRect(0, 0, 1024, 768) << QPoint(182, 175);
        QTest::newRow("640x480") << fixed << QRect(0, 0, 640, 480) << QPoint(66, 175);
        QTest::newRow("short") << fixed << QRect(0, 0, 800, 400) << QPoint(182, 150);
        QTest::newRow("panel on top") << QRect(0, 0, 574, 250) << QRect(0, 32, 1024, 736) << QPoint(0, 32);
        QTest::newRow("second monitor") << fixed << QRect(1920, 0, 640, 480) << QPoint(1920, 175);
        QTest::newRow("left of it") << QRect(-300, -20, 574, 250) << QRect(0, 0, 1024, 768) << QPoint(0, 0);
        QTest::newRow("smaller than the window") << fixed << QRect(0, 0, 320, 200) << QPoint(0, 0);
    }

    void fitInside()
    {
        QFETCH(QRect, window);
        QFETCH(QRect, available);
        QFETCH(QPoint, place);
        QCOMPARE(ui::fitInside(window, available), place);
    }

    // In a right-to-left application (a caller's, or -reverse) the tape
    // keeps its columns: a sign at the left, numbers at the right.
    void rightToLeftKeepsTheTape()
    {
        const QImage leftToRight = drawnAfterASum(Qt::LeftToRight);
        const QImage rightToLeft = drawnAfterASum(Qt::RightToLeft);
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        const QRect tape(13, 34, 186, 152);
        QVERIFY2(rightToLeft.copy(tape) == leftToRight.copy(tape), "the tape is drawn otherwise right to left");
    }

private:
    static QImage drawnAfterASum(Qt::LayoutDirection direction)
    {
        QGuiApplication::setLayoutDirection(direction);
        ui::FrmCalc window;
        window.show();
        for (const char* key : {"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"}) {
            auto* button = window.findChild<QAbstractButton*>(QLatin1String(key));
            if (button == nullptr) {
                qFatal("no key %s", key);
            }
            button->click();
        }
        return window.grab().toImage();
    }
};

QTEST_MAIN(PlacementTest)
#include "ui_placement_test.moc"
