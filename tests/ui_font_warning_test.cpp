// Run with a font configuration that holds no fonts at all: the window must
// say once, on stderr, that its Song face is missing and which Debian
// package brings it.
#include "ui/window/UntCalc.h"

#include <QFontDatabase>
#include <QtTest>

namespace {

QStringList warnings;
QtMessageHandler testLog = nullptr;

void keepWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg) {
        warnings << text;
    }
    testLog(type, context, text);
}

} // namespace

class FontWarningTest : public QObject {
    Q_OBJECT

private slots:
    void missingSongFaceIsSaidOnce()
    {
        QVERIFY2(!QFontDatabase::families().contains(QStringLiteral("AR PL SungtiL GB")),
            "the test's font configuration should hold no Song face");
        testLog = qInstallMessageHandler(keepWarnings);
        {
            ui::FrmCalc first;
            first.show();
            ui::FrmCalc second;
            second.show();
        }
        qInstallMessageHandler(testLog);
        const QStringList named = warnings.filter(QStringLiteral("fonts-arphic-gbsn00lp"));
        QCOMPARE(named.size(), 1);
    }
};

QTEST_MAIN(FontWarningTest)
#include "ui_font_warning_test.moc"
