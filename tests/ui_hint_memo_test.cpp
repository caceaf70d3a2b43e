// The hint line paints each hint from a layout of its own: it must paint
// exactly what the plain memo paints for the same text, at every scale, after
// any other hint, and after its font or width changed.

#include "calc/Hints.h"
#include "ui/look/Fonts.h"
#include "ui/window/GbkText.h"
#include "ui/window/HintMemo.h"

#include <QPlainTextEdit>
#include <QtTest>

namespace {

constexpr QRect kGeometry(0, 0, 546, 39);

// What the hint line would be as the plain memo it is made from.
void makeLikeTheMemo(QPlainTextEdit& memo, const QFont& font)
{
    memo.setFrameStyle(QFrame::Box | QFrame::Plain);
    memo.setReadOnly(true);
    memo.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo.document()->setDocumentMargin(2);
    memo.setFont(font);
    memo.setGeometry(kGeometry);
}

QImage drawn(QWidget& widget, qreal ratio)
{
    QImage image(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

QImage drawnByTheMemo(const QString& text, const QFont& font, qreal ratio, QSize size = kGeometry.size())
{
    QPlainTextEdit memo;
    makeLikeTheMemo(memo, font);
    memo.resize(size);
    memo.setPlainText(text);
    memo.show();
    return drawn(memo, ratio);
}

QString hint(std::size_t index) { return ui::fromGbk(calc::hintText(static_cast<calc::Hint>(index))); }

} // namespace

class HintMemoTest : public QObject {
    Q_OBJECT

private slots:
    void paintsAsTheMemo_data()
    {
        QTest::addColumn<qreal>("ratio");
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            QTest::addRow("scale %g", ratio) << ratio;
        }
    }

    // Every hint, each once new and once from its layout, after another.
    void paintsAsTheMemo()
    {
        QFETCH(qreal, ratio);
        const QFont font = ui::fonts::songFont(12, false, ratio);
        ui::HintMemo memo;
        makeLikeTheMemo(memo, font);
        memo.show();
        for (int round = 0; round < 2; ++round) {
            for (std::size_t index = 0; index < calc::kHintCount; ++index) {
                memo.showHint(hint(index));
                QCOMPARE(memo.toPlainText(), hint(index));
                if (drawn(memo, ratio) != drawnByTheMemo(hint(index), font, ratio)) {
                    QFAIL(qPrintable(QStringLiteral("round %1, hint %2").arg(round).arg(index)));
                }
            }
        }
    }

    // A text too long for one line wraps where the memo wraps it.
    void wrapsAsTheMemo()
    {
        const QFont font = ui::fonts::songFont(12, false);
        const QString longText = hint(0).repeated(4);
        ui::HintMemo memo;
        makeLikeTheMemo(memo, font);
        memo.show();
        memo.showHint(longText);
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(longText, font, 1));
    }

    // The layouts are made again for a new font or a new width.
    void followsItsFontAndWidth()
    {
        const QFont font = ui::fonts::songFont(12, false);
        ui::HintMemo memo;
        makeLikeTheMemo(memo, font);
        memo.show();
        const QString text = hint(0).repeated(3);
        memo.showHint(text);
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(text, font, 1));

        const QFont larger = ui::fonts::songFont(16, true);
        memo.setFont(larger);
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(text, larger, 1));

        memo.resize(300, 60);
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(text, larger, 1, QSize(300, 60)));
    }

    // A reader's selection shows, as the memo shows it.
    void showsASelection()
    {
        const QFont font = ui::fonts::songFont(12, false);
        ui::HintMemo memo;
        makeLikeTheMemo(memo, font);
        memo.show();
        memo.showHint(hint(0));
        const QImage plain = drawn(memo, 1);
        memo.selectAll();
        const QImage selected = drawn(memo, 1);
        QVERIFY(selected != plain);

        QPlainTextEdit reference;
        makeLikeTheMemo(reference, font);
        reference.setPlainText(hint(0));
        reference.show();
        reference.selectAll();
        QCOMPARE(selected, drawn(reference, 1));
    }

    // Text written past showHint shows as written.
    void paintsTextWrittenAnotherWay()
    {
        const QFont font = ui::fonts::songFont(12, false);
        ui::HintMemo memo;
        makeLikeTheMemo(memo, font);
        memo.show();
        memo.showHint(hint(0));
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(hint(0), font, 1));
        memo.setPlainText(hint(1));
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(hint(1), font, 1));
        memo.showHint(hint(0));
        QCOMPARE(drawn(memo, 1), drawnByTheMemo(hint(0), font, 1));
    }

    // Unchanged, the memo is not written at all: a reader's selection stays.
    // A new hint puts the cursor back at the start, wherever the reader left
    // it, as setPlainText does.
    void aNewHintStartsAtTheStart()
    {
        ui::HintMemo memo;
        memo.showHint(hint(0));
        memo.selectAll();
        memo.showHint(hint(0));
        QVERIFY(memo.textCursor().hasSelection());
        memo.showHint(hint(1));
        QVERIFY(!memo.textCursor().hasSelection());
        QCOMPARE(memo.textCursor().position(), 0);
        memo.moveCursor(QTextCursor::End);
        memo.showHint(hint(2));
        QCOMPARE(memo.textCursor().position(), 0);
        QCOMPARE(memo.toPlainText(), hint(2));
    }
};

QTEST_MAIN(HintMemoTest)
#include "ui_hint_memo_test.moc"
