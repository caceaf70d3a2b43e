// The window as assistive technology sees it through Qt: the displays' texts
// and names, the tape's lines, the keys' names and descriptions, and the
// focus cue. Qt hands events to no one without a platform bridge, so the
// events are checked through AT-SPI by accessibility_atspi.py.

#include "calc/Key.h"
#include "ui/window/GbkText.h"
#include "ui/window/UntCalc.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include <memory>

namespace {

QString gbk(std::string_view text) { return ui::fromGbk(text); }

bool hasChinese(const QString& text)
{
    return std::any_of(
        text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ui::FrmCalc> w;

    template <class T = QWidget>
    T* child(const QString& name) const
    {
        return w->findChild<T*>(name);
    }
    QAbstractItemView* tape() const { return child<QAbstractItemView>("ListBoxShow"); }

    void clickKeys(const QStringList& names)
    {
        for (const QString& name : names) {
            QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
        }
    }

    QString lineText(int row) const
    {
        return QAccessible::queryAccessibleInterface(tape())->child(row)->text(QAccessible::Name);
    }

private slots:
    void init()
    {
        w = std::make_unique<ui::FrmCalc>();
        w->setErrorReporter([](const QString&, const QString&) {});
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void cleanup() { w.reset(); }

    void displaysReadTheirCaptions_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        const QString entry = gbk("\xBD\xE1\xB9\xFB\xB1\xE0\xBC\xAD\xC7\xF8"); // 结果编辑区
        const QString memory = gbk("\xB4\xE6\xB4\xA2\xC7\xF8"); // 存储区
        const QString rate = gbk("\xB5\xB1\xC7\xB0\xCB\xB0\xC2\xCA"); // 当前税率
        QTest::newRow("entry at start") << "PanelShow" << entry << QStringList{} << "0.";
        QTest::newRow("entry after 12 + 30 =")
            << "PanelShow" << entry << QStringList{"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"} << "42.";
        QTest::newRow("memory at start") << "PanelM" << memory << QStringList{} << "";
        QTest::newRow("memory after 5 MS") << "PanelM" << memory << QStringList{"SBtn5", "SBtnMS"} << "M";
        QTest::newRow("rate at start") << "PanelCess" << rate << QStringList{} << "17%";
        QTest::newRow("rate after 5 set") << "PanelCess" << rate << QStringList{"SBtn5", "SBtnSetCess"} << "5.00%";
    }

    void displaysReadTheirCaptions()
    {
        QFETCH(QString, panel);
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        clickKeys(keys);
        QAccessibleInterface* display = QAccessible::queryAccessibleInterface(child(panel));
        QCOMPARE(display->role(), QAccessible::StaticText);
        QTEST(display->text(QAccessible::Name), "name");
        QAccessibleTextInterface* readable = display->textInterface();
        QVERIFY(readable);
        QCOMPARE(readable->text(0, -1), text);
        QCOMPARE(readable->characterCount(), text.size());
        if (!text.isEmpty()) {
            // The last character lies at the panel's right or middle, inside it.
            const QRect last = readable->characterRect(readable->characterCount() - 1);
            QVERIFY(child(panel)->rect().contains(child(panel)->mapFromGlobal(last.center())));
            QCOMPARE(readable->offsetAtPoint(last.center()), readable->characterCount() - 1);
        }
    }

    void tapeLinesAreItsChildren()
    {
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(tape());
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 4);
        QCOMPARE(lineText(0), QString(23, ' ') + "12");
        QVERIFY(list->child(3)->state().selected);
        QVERIFY(!list->child(1)->state().selected);
    }

    // A reader can explain a key before it is pressed as the hint line does
    // after: each key's description is the hint that key writes.
    void keysSayWhatTheyDo()
    {
        const auto keys = w->findChildren<QAbstractButton*>(QRegularExpression("^SBtn"));
        QCOMPARE(std::size_t(keys.size()), calc::kKeyCount);
        const QRegularExpression digit("^SBtn\\d$");
        for (QAbstractButton* key : keys) {
            const QString name = key->objectName();
            QVERIFY2(!key->accessibleName().isEmpty(), qPrintable(name));
            QVERIFY2(digit.match(name).hasMatch() || hasChinese(key->accessibleName()), qPrintable(name));
            // The memory in use and nothing pending, so no key hands over.
            clickKeys({"SBtnC", "SBtn5", "SBtnMS", "SBtnC"});
            QTest::mouseClick(key, Qt::LeftButton);
            QCOMPARE(key->accessibleDescription(), child<QPlainTextEdit>("MemoHint")->toPlainText());
        }
        QCOMPARE(child<QAbstractButton>("SBtn7")->accessibleName(), QStringLiteral("7"));
        QCOMPARE(child<QAbstractButton>("SBtnEqual")->accessibleName(), gbk("\xB5\xC8\xD3\xDA")); // 等于
    }

    void closeButtonSaysHowToLeave()
    {
        QAbstractButton* close = child<QAbstractButton>("BitBtnCancel");
        QCOMPARE(close->accessibleName(), gbk("\xB7\xB5\xBB\xD8")); // 返回
        QCOMPARE(close->accessibleDescription(), child<QPlainTextEdit>("MemoHint")->toPlainText());
    }

    void focusIsVisible_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("empty tape") << "ListBoxShow" << QStringList{};
        QTest::newRow("tape with a marked line") << "ListBoxShow" << QStringList{"SBtn1", "SBtnAdd"};
        QTest::newRow("close button") << "BitBtnCancel" << QStringList{};
    }

    void focusIsVisible()
    {
        QFETCH(QString, control);
        QFETCH(QStringList, keys);
        clickKeys(keys);
        QWidget* target = child(control);
        child("MemoHint")->setFocus();
        const QImage without = target->grab().toImage();
        target->setFocus();
        QVERIFY(target->hasFocus());
        const QImage with = target->grab().toImage();
        QVERIFY(with != without);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "ui_accessibility_test.moc"
