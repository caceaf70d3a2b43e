// The calculator window, driven headless: clicks on keys by object name,
// typed keys through the keyboard map, what the controls then show.

#include "calc/Key.h"
#include "tests/ExtendedLiteral.h"
#include "ui/Picker.h"
#include "ui/window/GbkText.h"
#include "ui/window/UntCalc.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include <limits>
#include <memory>

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

constexpr std::string_view kWelcome =
    "\x20\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3\xA1\xB0\xC7\xE0\xBA\xCC\xCB\xB0\xC2\xCA\xBC\xC6\xCB\xE3\xC6\xF7\xA1\xB1"
    "\xA3\xA1\xCD\xCB\xB3\xF6\xC7\xEB\xD3\xC3\xC8\xC8\xBC\xFC\x20\x5B\x20\x41\x6C\x74\x2B\x52\x20\x5D\x20\xBB\xF2"
    "\x20\xCA\xF3\xB1\xEA\xB5\xE3\xC8\xA1\x20\x5B\x20\xB7\xB5\xBB\xD8\xCA\xFD\xBE\xDD\x20\x5D\x20";
// " + 用于把两数相加，例如：A+B ，请输入加数"
constexpr std::string_view kPlusHint = " + \xD3\xC3\xD3\xDA\xB0\xD1\xC1\xBD\xCA\xFD\xCF\xE0\xBC\xD3\xA3\xAC"
                                       "\xC0\xFD\xC8\xE7\xA3\xBA"
                                       "A+B \xA3\xAC\xC7\xEB\xCA\xE4\xC8\xEB\xBC\xD3\xCA\xFD";
constexpr std::string_view kResultWord = "\xBD\xE1\xB9\xFB"; // 结果

QString gbk(std::string_view text) { return ui::fromGbk(text); }

// The window's layout: name, parent, left, top, width, height.
struct Place {
    const char* name;
    const char* parent;
    QRect rect;
};

const Place kPlaces[] = {
    {"ImageBak", "FrmCalc", {0, 0, 574, 250}},
    {"LblTitle", "FrmCalc", {38, 15, 84, 12}},
    {"ImageIco", "FrmCalc", {13, 15, 16, 12}},
    {"LblCess", "FrmCalc", {449, 16, 60, 12}},
    {"ListBoxShow", "FrmCalc", {13, 34, 186, 152}},
    {"PanelM", "FrmCalc", {217, 12, 30, 18}},
    {"MemoHint", "FrmCalc", {13, 195, 546, 39}},
    {"PanelShow", "FrmCalc", {253, 12, 151, 18}},
    {"Panel1", "FrmCalc", {208, 35, 196, 151}},
    {"Panel2", "FrmCalc", {408, 35, 151, 81}},
    {"PanelCess", "FrmCalc", {510, 12, 48, 18}},
    {"BitBtnCancel", "FrmCalc", {500, 135, 58, 50}},
};

const char* const kKeyGrid[4][6] = {
    {"SBtnMC", "SBtn7", "SBtn8", "SBtn9", "SBtnAdd", "SBtnBack"},
    {"SBtnMR", "SBtn4", "SBtn5", "SBtn6", "SBtnSub", "SBtnCE"},
    {"SBtnMS", "SBtn1", "SBtn2", "SBtn3", "SBtnMulti", "SBtnC"},
    {"SBtnMAdd", "SBtn0", "SBtnZF", "SBtnDot", "SBtnDiv", "SBtnEqual"},
};
const char* const kTaxGrid[2][2] = {{"SBtnSetCess", "SBtnPriceAndTax"}, {"SBtnTax", "SBtnPrice"}};

// What a test compares: the value as a double, exact for these amounts.
double asDouble(calc::Extended x) { return static_cast<double>(calc::toLongDouble(x)); }

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ui::FrmCalc> w;
    QStringList errors;
    QStringList titles;
    QStringList clicked;

    template <class T = QWidget>
    T* child(const QString& name) const
    {
        return w->findChild<T*>(name);
    }
    QAbstractItemView* tapeView() const { return child<QAbstractItemView>("ListBoxShow"); }
    QString shown(const char* name) const { return child<QLabel>(name)->text(); }
    QString hint() const { return child<QPlainTextEdit>("MemoHint")->toPlainText(); }

    void clickKeys(const QStringList& names)
    {
        for (const QString& name : names) {
            QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
        }
    }

    QStringList tape() const
    {
        QStringList rows;
        const QAbstractItemModel* model = tapeView()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            rows << model->index(row, 0).data().toString();
        }
        return rows;
    }

    QPoint rowCentre(int row) const { return tapeView()->visualRect(tapeView()->model()->index(row, 0)).center(); }

    void doubleClickTape(QPoint at)
    {
        QWidget* viewport = tapeView()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, held, {});
        QApplication::sendEvent(target, &event);
    }

    void recordClicks()
    {
        for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
            connect(button, &QAbstractButton::clicked, this, [this, button] { clicked << button->objectName(); });
        }
    }

private slots:
    void init()
    {
        w = std::make_unique<ui::FrmCalc>();
        errors.clear();
        titles.clear();
        clicked.clear();
        w->setErrorReporter([this](const QString& title, const QString& message) {
            titles << title;
            errors << message;
        });
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void cleanup() { w.reset(); }

    void startState()
    {
        QCOMPARE(shown("PanelShow"), QStringLiteral("0."));
        QCOMPARE(shown("PanelCess"), QStringLiteral("17%"));
        QCOMPARE(shown("PanelM"), QString());
        QCOMPARE(hint(), gbk(kWelcome));
        QVERIFY(tape().isEmpty());
        QCOMPARE(asDouble(w->core().state().TaxRate), 17.0);
        QCOMPARE(QApplication::focusWidget(), tapeView());
        QCOMPARE(w->windowTitle(), gbk("\xC7\xE0\xBA\xCC\xCB\xB0\xC2\xCA\xBC\xC6\xCB\xE3\xC6\xF7"));
    }

    void startValue_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("entry");
        QTest::newRow("zero") << 0.0 << "0.";
        QTest::newRow("fraction") << 12.5 << "12.5";
        QTest::newRow("whole") << 3.0 << "3.";
        QTest::newRow("negative") << -8.0 << "-8.";
    }

    void startValue()
    {
        QFETCH(double, value);
        w->hide();
        w->setValue(calc::fromLongDouble(value));
        w->show();
        QTEST(shown("PanelShow"), "entry");
    }

    void window()
    {
        QCOMPARE(w->geometry(), QRect(182, 175, 574, 250));
        QVERIFY(w->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(w->palette().color(QPalette::Window), QColor(0x66, 0x78, 0x82));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect");
        for (const Place& place : kPlaces) {
            QTest::newRow(place.name) << place.parent << place.rect;
        }
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 6; ++column) {
                QTest::newRow(kKeyGrid[row][column]) << "Panel1" << QRect(10 + 30 * column, 10 + 35 * row, 28, 28);
            }
        }
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                QTest::newRow(kTaxGrid[row][column]) << "Panel2" << QRect(10 + 70 * column, 10 + 35 * row, 61, 28);
            }
        }
    }

    void layout()
    {
        QWidget* control = child(QTest::currentDataTag());
        QVERIFY(control);
        QTEST(control->parentWidget()->objectName(), "parent");
        QTEST(control->geometry(), "rect");
        QVERIFY(!control->accessibleName().isEmpty());
    }

    void stackingOrder()
    {
        QStringList order;
        for (QObject* object : w->children()) {
            if (object->isWidgetType()) {
                order << object->objectName();
            }
        }
        QStringList expected;
        for (const Place& place : kPlaces) {
            expected << place.name;
        }
        QCOMPARE(order, expected);
    }

    void keysNeverTakeFocus()
    {
        const auto keys = w->findChildren<QAbstractButton*>(QRegularExpression("^SBtn"));
        QCOMPARE(std::size_t(keys.size()), calc::kKeyCount);
        for (QAbstractButton* key : keys) {
            QCOMPARE(key->focusPolicy(), Qt::NoFocus);
            QCOMPARE(key->cursor().shape(), Qt::PointingHandCursor);
        }
        clickKeys({"SBtn1", "SBtnAdd", "SBtnSetCess"});
        QCOMPARE(QApplication::focusWidget(), tapeView());
        for (const char* name : {"LblTitle", "LblCess", "ImageIco", "BitBtnCancel"}) {
            QCOMPARE(child(name)->cursor().shape(), Qt::PointingHandCursor);
        }
    }

    void tabOrder()
    {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QWidget* memo = child("MemoHint");
        QWidget* cancel = child("BitBtnCancel");
        for (QWidget* next : {memo, cancel, static_cast<QWidget*>(tapeView())}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        for (QWidget* widget : w->findChildren<QWidget*>()) {
            if (widget != tapeView() && widget != memo && widget != cancel && widget->parentWidget() == w.get()) {
                QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
            }
        }
    }

    void fonts()
    {
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        const QStringList lines = tape();
        QCOMPARE(lines.size(), 4);
        const QFontMetrics metrics(tapeView()->font());
        // One 6-pixel column per GBK byte, whatever the character.
        for (const QString& line : lines) {
            const QByteArray bytes = QStringEncoder("GBK").encode(line);
            QCOMPARE(metrics.horizontalAdvance(line), 6 * int(bytes.size()));
        }
        QCOMPARE(metrics.horizontalAdvance(lines.at(3)), 150);
        QCOMPARE(metrics.horizontalAdvance(lines.at(2)), 180);
        QCOMPARE(QFontMetrics(child("MemoHint")->font()).horizontalAdvance(gbk(kWelcome)), 77 * 6);
        QCOMPARE(child("SBtn7")->font().pixelSize(), 16);
        QVERIFY(child("SBtn7")->font().bold());
        QVERIFY(!child("SBtnMC")->font().bold());
        QCOMPARE(child("SBtnZF")->font().pixelSize(), 14);
        QCOMPARE(child("SBtnTax")->font().pixelSize(), 12);
        QVERIFY(child("LblTitle")->font().bold());
    }

    void keys_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("lines");
        QTest::newRow("12+30=") << QStringList{"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"} << "42."
                                << 4;
        QTest::newRow("point first") << QStringList{"SBtnDot", "SBtn5"} << "0.5" << 0;
        QTest::newRow("sign and backspace") << QStringList{"SBtn1", "SBtn2", "SBtnZF", "SBtnBack"} << "-1." << 0;
        QTest::newRow("CE keeps the operation")
            << QStringList{"SBtn5", "SBtnAdd", "SBtn3", "SBtnCE", "SBtn4", "SBtnEqual"} << "9." << 4;
        QTest::newRow("C empties the tape")
            << QStringList{"SBtn5", "SBtnAdd", "SBtn3", "SBtnEqual", "SBtnC"} << "0." << 0;
        QTest::newRow("6*7") << QStringList{"SBtn6", "SBtnMulti", "SBtn7", "SBtnEqual"} << "42." << 4;
        QTest::newRow("8/2") << QStringList{"SBtn8", "SBtnDiv", "SBtn2", "SBtnEqual"} << "4." << 4;
        QTest::newRow("9-4") << QStringList{"SBtn9", "SBtnSub", "SBtn4", "SBtnEqual"} << "5." << 4;
        QTest::newRow("memory") << QStringList{"SBtn6", "SBtnMS", "SBtn1", "SBtnMAdd", "SBtnMC", "SBtnMR"} << "1." << 0;
        QTest::newRow("tax on 17") << QStringList{"SBtn1", "SBtn7", "SBtnTax"} << "17." << 6;
        QTest::newRow("price") << QStringList{"SBtn1", "SBtn0", "SBtn0", "SBtnPrice"} << "100." << 6;
        QTest::newRow("total") << QStringList{"SBtn1", "SBtn1", "SBtn7", "SBtnPriceAndTax"} << "117." << 6;
        QTest::newRow("set rate") << QStringList{"SBtn5", "SBtnSetCess"} << "5." << 3;
    }

    void keys()
    {
        QFETCH(QStringList, keys);
        clickKeys(keys);
        QTEST(shown("PanelShow"), "entry");
        QTEST(int(tape().size()), "lines");
        QVERIFY(errors.isEmpty());
    }

    void newNumberAfterATwentyByteResult()
    {
        const QStringList third = {"SBtn1", "SBtnDiv", "SBtn3", "SBtn0", "SBtn0", "SBtn0", "SBtnEqual"};
        clickKeys(third);
        QCOMPARE(shown("PanelShow"), QStringLiteral("0.000333333333333333"));
        clickKeys({"SBtn7"});
        QCOMPARE(shown("PanelShow"), QStringLiteral("7."));
        // 正在输入数据，是否输入完毕？
        QCOMPARE(hint(),
            gbk("\xD5\xFD\xD4\xDA\xCA\xE4\xC8\xEB\xCA\xFD\xBE\xDD\xA3\xAC\xCA\xC7\xB7\xF1\xCA\xE4\xC8\xEB\xCD\xEA"
                "\xB1\xCF\xA3\xBF"));
        clickKeys(QStringList{"SBtnC"} + third + QStringList{"SBtnAdd", "SBtn5", "SBtnEqual"});
        QCOMPARE(shown("PanelShow"), QStringLiteral("5.00033333333333"));
    }

    void indicatorsFollow()
    {
        clickKeys({"SBtn5", "SBtnMS"});
        QCOMPARE(shown("PanelM"), QStringLiteral("M"));
        clickKeys({"SBtnDot", "SBtn5", "SBtnSetCess"});
        QCOMPARE(shown("PanelCess"), QStringLiteral("0.50%"));
        clickKeys({"SBtn5", "SBtnAdd"});
        QCOMPARE(hint(), gbk(kPlusHint));
        clickKeys({"SBtn3", "SBtnAdd"});
        // " = 用于计算最后结果...": the chained equals' hint stays.
        QVERIFY(hint().startsWith(QStringLiteral(" = ")));
        const QStringList lines = tape();
        QCOMPARE(lines.last(), gbk(kResultWord) + QString(20, ' ') + "8");
        QCOMPARE(tapeView()->currentIndex().row(), lines.size() - 1);
        QCOMPARE(int(w->core().tape().selected()), lines.size() - 1);
    }

    void keyboardMap_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("control");
        const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), alt(Qt::AltModifier), ctrl(Qt::ControlModifier),
            pad(Qt::KeypadModifier);
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "SBtnBack";
        QTest::newRow("Return") << int(Qt::Key_Return) << none << "SBtnEqual";
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << pad << "SBtnEqual";
        QTest::newRow("Alt+Enter") << int(Qt::Key_Return) << alt << "SBtnEqual";
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "BitBtnCancel";
        QTest::newRow("F9") << int(Qt::Key_F9) << none << "BitBtnCancel";
        QTest::newRow("Shift+F9") << int(Qt::Key_F9) << shift << "BitBtnCancel";
        for (int digit = 0; digit <= 9; ++digit) {
            const QString name = QStringLiteral("SBtn%1").arg(digit);
            QTest::addRow("%d", digit) << int(Qt::Key_0) + digit << none << name;
            QTest::addRow("keypad %d", digit) << int(Qt::Key_0) + digit << pad << name;
        }
        QTest::newRow("Shift+8") << int(Qt::Key_Asterisk) << shift << "SBtnMulti";
        QTest::newRow("Shift+keypad 8") << int(Qt::Key_8) << (shift | pad) << "SBtn8";
        QTest::newRow("Shift+1") << int(Qt::Key_Exclam) << shift << "SBtn1";
        QTest::newRow("Ctrl+5") << int(Qt::Key_5) << ctrl << "SBtn5";
        QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << pad << "SBtnMulti";
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << pad << "SBtnAdd";
        QTest::newRow("keypad -") << int(Qt::Key_Minus) << pad << "SBtnSub";
        QTest::newRow("keypad .") << int(Qt::Key_Period) << pad << "SBtnDot";
        QTest::newRow(".") << int(Qt::Key_Period) << none << "SBtnDot";
        QTest::newRow("keypad /") << int(Qt::Key_Slash) << pad << "SBtnDiv";
        QTest::newRow("/") << int(Qt::Key_Slash) << none << "SBtnDiv";
        QTest::newRow("Shift+/") << int(Qt::Key_Question) << shift << "SBtnDiv";
        QTest::newRow("=") << int(Qt::Key_Equal) << none << "SBtnEqual";
        QTest::newRow("Shift+=") << int(Qt::Key_Plus) << shift << "SBtnAdd";
        QTest::newRow("-") << int(Qt::Key_Minus) << none << "SBtnZF";
        QTest::newRow("Shift+-") << int(Qt::Key_Underscore) << shift << "SBtnZF";
        const std::pair<int, const char*> letters[] = {
            {Qt::Key_C, "SBtnC"},
            {Qt::Key_E, "SBtnCE"},
            {Qt::Key_M, "SBtnMS"},
            {Qt::Key_A, "SBtnMAdd"},
            {Qt::Key_H, "SBtnMR"},
            {Qt::Key_L, "SBtnMC"},
            {Qt::Key_S, "SBtnSetCess"},
            {Qt::Key_J, "SBtnTax"},
            {Qt::Key_B, "SBtnPrice"},
            {Qt::Key_U, "SBtnPriceAndTax"},
            {Qt::Key_R, "BitBtnCancel"},
        };
        for (const auto& [key, name] : letters) {
            const char letter = char('A' + key - Qt::Key_A);
            QTest::addRow("Alt+%c", letter) << key << alt << name;
            QTest::addRow("%c alone", letter) << key << none << "";
            QTest::addRow("Ctrl+%c", letter) << key << ctrl << "";
        }
        QTest::newRow("Home") << int(Qt::Key_Home) << none << "";
    }

    void keyboardMap()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, control);
        recordClicks();
        QTest::keyClick(tapeView(), Qt::Key(key), modifiers);
        QCOMPARE(clicked, control.isEmpty() ? QStringList() : QStringList{control});
    }

    // The hint line is written as a memo is, not typed into: each hint
    // whole, the memo's cursor at its start with nothing selected, as a
    // reader finds it, and no history of hints to undo.
    void hintLineIsWrittenAsAMemo()
    {
        auto* memo = child<QPlainTextEdit>("MemoHint");
        for (const char* key : {"SBtn1", "SBtnAdd", "SBtn2", "SBtn3", "SBtnEqual", "SBtnBack", "SBtnC"}) {
            clickKeys({QString::fromLatin1(key)});
            QCOMPARE(hint(), gbk(w->core().hintLine()));
            QCOMPARE(memo->textCursor().position(), 0);
            QVERIFY(!memo->textCursor().hasSelection());
            QCOMPARE(memo->document()->blockCount(), 1);
        }
        QVERIFY(!memo->document()->isUndoAvailable());
    }

    void keyActsOnceWhenHandedUp()
    {
        // The read-only hint line ignores digits, so Qt hands each key on to
        // the window: the map must still act once per press. Sent to the
        // native window, the keys take Qt's own way: the focus widget first.
        child("MemoHint")->setFocus();
        QWindow* native = w->windowHandle();
        QVERIFY(native);
        QTest::keyClick(native, Qt::Key_1);
        QTest::keyClick(native, Qt::Key_1);
        QTest::keyClick(native, Qt::Key_2);
        QCOMPARE(shown("PanelShow"), QStringLiteral("112."));
        // With no focus widget the window itself is the first.
        child("MemoHint")->clearFocus();
        QTest::keyClick(native, Qt::Key_3);
        QCOMPARE(shown("PanelShow"), QStringLiteral("1123."));
    }

    void autoRepeatActs()
    {
        for (bool repeat : {false, true, true}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_7, {}, QStringLiteral("7"), repeat);
            QApplication::sendEvent(tapeView(), &press);
        }
        QCOMPARE(shown("PanelShow"), QStringLiteral("777."));
    }

    void enterIsEqualsEvenOnTheCloseButton()
    {
        child("BitBtnCancel")->setFocus();
        clickKeys({"SBtn2", "SBtnAdd", "SBtn3"});
        QTest::keyClick(child("BitBtnCancel"), Qt::Key_Return);
        QVERIFY(w->isVisible());
        QCOMPARE(shown("PanelShow"), QStringLiteral("5."));
    }

    void cursorKeysMoveTheSelection()
    {
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        QCOMPARE(int(w->core().tape().selected()), 3);
        QTest::keyClick(tapeView(), Qt::Key_Up);
        QCOMPARE(int(w->core().tape().selected()), 2);
        QTest::mouseClick(tapeView()->viewport(), Qt::LeftButton, {}, rowCentre(0));
        QCOMPARE(int(w->core().tape().selected()), 0);
    }

    void selectionScrollsIntoView()
    {
        for (int i = 0; i < 12; ++i) {
            clickKeys({"SBtn1", "SBtnAdd", "SBtn1", "SBtnEqual"});
        }
        QVERIFY(tape().size() > 50);
        const QRect last = tapeView()->visualRect(tapeView()->currentIndex());
        QVERIFY(tapeView()->viewport()->rect().contains(last));
        QCOMPARE(last.height(), 12);
    }

    void rendering()
    {
        const QImage image = w->grab().toImage();
        auto near = [&](QPoint at, QColor colour) {
            const QColor seen = image.pixelColor(at);
            return qAbs(seen.red() - colour.red()) <= 6 && qAbs(seen.green() - colour.green()) <= 6 &&
                qAbs(seen.blue() - colour.blue()) <= 6;
        };
        QVERIFY(near({450, 150}, QColor(0x66, 0x78, 0x82)));
        QVERIFY(near({260, 20}, QColor(0xB5, 0xFC, 0xF8)));
        QVERIFY(near({100, 170}, QColor(0xD2, 0xDA, 0xDD)));
        QVERIFY(near({300, 220}, QColor(0xD2, 0xDA, 0xDD)));
        const QRegion shape = w->mask();
        QVERIFY(shape.contains(QPoint(287, 125)));
        QVERIFY(shape.contains(QPoint(8, 0)) && shape.contains(QPoint(4, 4)));
        for (const QPoint corner : {QPoint(0, 0), QPoint(573, 0), QPoint(0, 249), QPoint(573, 249), QPoint(1, 1)}) {
            QVERIFY(!shape.contains(corner));
        }
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        for (const char* how : {"ImageIco click", "LblTitle double click", "LblCess double click", "BitBtnCancel click",
                 "Escape", "F9", "Alt+R"}) {
            QTest::newRow(how) << how << true;
        }
        QTest::newRow("LblTitle click") << "LblTitle click" << false;
        QTest::newRow("Background double click") << "ImageBak double click" << false;
    }

    void closing()
    {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        const QString control = how.section(' ', 0, 0);
        auto act = [&] {
            if (how.endsWith("double click")) {
                QTest::mouseClick(child(control), Qt::LeftButton, {}, QPoint(3, 3));
                QTest::mouseDClick(child(control), Qt::LeftButton, {}, QPoint(3, 3));
            } else if (how.endsWith("click")) {
                QTest::mouseClick(child(control), Qt::LeftButton, {}, QPoint(3, 3));
            } else {
                const auto key = how == "Escape" ? Qt::Key_Escape : how == "F9" ? Qt::Key_F9 : Qt::Key_R;
                QTest::keyClick(tapeView(), key, how == "Alt+R" ? Qt::AltModifier : Qt::NoModifier);
            }
        };
        act();
        QCOMPARE(w->isVisible(), !closes);

        // The same in a modal run: the cancel result.
        w->show();
        bool acted = false;
        QTimer::singleShot(0, this, [&] {
            act();
            acted = true;
            if (!closes) {
                w->done(42);
            }
        });
        QCOMPARE(w->exec(), closes ? int(QDialog::Rejected) : 42);
        QVERIFY(acted);
    }

    // Only the left button acts: the others, pressed or double clicked on the
    // title, the rate label or a tape line, neither close the window, pick a
    // number nor select a line.
    void otherButtonsDoNothing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<Qt::MouseButton>("button");
        for (const char* control : {"LblTitle", "LblCess", "tape"}) {
            for (const auto& [name, button] : {std::pair{"right", Qt::RightButton}, {"middle", Qt::MiddleButton}}) {
                QTest::addRow("%s %s", control, name) << QString::fromLatin1(control) << button;
            }
        }
    }

    void otherButtonsDoNothing()
    {
        QFETCH(QString, control);
        QFETCH(Qt::MouseButton, button);
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        const bool onTape = control == "tape";
        QWidget* target = onTape ? tapeView()->viewport() : child(control);
        const QPoint at = onTape ? rowCentre(0) : QPoint(3, 3);
        QTest::mouseClick(target, button, {}, at);
        QTest::mouseDClick(target, button, {}, at);
        QTest::mouseRelease(target, button, {}, at);
        QVERIFY(w->isVisible());
        QCOMPARE(asDouble(w->Value()), 0.0);
        QCOMPARE(int(w->core().tape().selected()), 3);
        QCOMPARE(tapeView()->selectionModel()->selectedRows().value(0).row(), 3);
    }

    // The tape keeps one line selected, the one the core reads: Ctrl+click
    // on it and Ctrl+Space leave it selected, and the pick-up below the last
    // line takes the line the list shows.
    void controlKeepsTheSelection()
    {
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        QWidget* viewport = tapeView()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(1));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(1));
        QTest::keyClick(tapeView(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(tapeView()->selectionModel()->selectedRows().value(0).row(), 1);
        QCOMPARE(int(w->core().tape().selected()), 1);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(0));
        QCOMPARE(tapeView()->selectionModel()->selectedRows().value(0).row(), 0);
        QCOMPARE(int(w->core().tape().selected()), 0);
        doubleClickTape(QPoint(20, 140));
        QCOMPARE(asDouble(w->Value()), 12.0);
    }

    // No control opens a menu of its own on a right click or the menu key.
    void noContextMenus()
    {
        QList<QWidget*> widgets = w->findChildren<QWidget*>();
        widgets << w.get();
        for (QWidget* widget : std::as_const(widgets)) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), widget->mapToGlobal(QPoint(3, 3)));
            QApplication::sendEvent(widget, &event);
            QVERIFY2(!QApplication::activePopupWidget(), qPrintable(widget->objectName()));
        }
    }

    void pickUpInModalRun()
    {
        w->hide();
        w->setValue(12.5_x);
        QTimer::singleShot(0, this, [&] {
            clickKeys({"SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
            doubleClickTape(rowCentre(1));
        });
        QCOMPARE(w->exec(), int(QDialog::Accepted));
        QCOMPARE(asDouble(w->Value()), 30.0);
    }

    void pickUpAsMainWindow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("value");
        QTest::newRow("operand line") << 0 << 12.0;
        QTest::newRow("operator line") << 1 << 30.0;
        QTest::newRow("separator line") << 2 << 0.0;
        QTest::newRow("result line") << 3 << 42.0;
        QTest::newRow("below the last line") << -1 << 42.0;
    }

    void pickUpAsMainWindow()
    {
        QFETCH(int, row);
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        const QString before = hint();
        doubleClickTape(row < 0 ? QPoint(20, 140) : rowCentre(row));
        QTEST(asDouble(w->Value()), "value");
        QVERIFY(w->isVisible());
        QCOMPARE(hint(), before);
        QCOMPARE(int(w->core().tape().selected()), row < 0 ? 3 : row);
    }

    void pickerReturnsThePickedNumber()
    {
        w.reset();
        QTimer::singleShot(0, this, [] {
            auto* picker = qobject_cast<ui::FrmCalc*>(QApplication::activeModalWidget());
            QVERIFY(picker);
            QTest::mouseClick(picker->findChild<QAbstractButton*>("SBtnEqual"), Qt::LeftButton);
            auto* view = picker->findChild<QAbstractItemView*>("ListBoxShow");
            const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        });
        const auto picked = ui::pickValue(2.5L);
        QVERIFY(picked);
        QCOMPARE(double(*picked), 2.5);
    }

    // A host's own font and direction make no difference to the window while
    // it shows, and are the host's again after.
    void pickerLendsTheHostsFontAndDirectionBack()
    {
        w.reset();
        const QFont hostFont = QApplication::font();
        QFont large = hostFont;
        large.setPixelSize(31);
        QApplication::setFont(large);
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
        int fontWhileShown = 0;
        Qt::LayoutDirection directionWhileShown = Qt::RightToLeft;
        QTimer::singleShot(0, this, [&] {
            fontWhileShown = QApplication::font().pixelSize();
            directionWhileShown = QGuiApplication::layoutDirection();
            QApplication::activeModalWidget()->close();
        });
        QVERIFY(!ui::pickValue(1.0L));
        QCOMPARE(fontWhileShown, 12);
        QCOMPARE(directionWhileShown, Qt::LeftToRight);
        QCOMPARE(QApplication::font().pixelSize(), 31);
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
        QApplication::setFont(hostFont);
    }

    // Started at 13 %, the picker shows it and reports at it: 1000's tax.
    void pickerStartsAtTheGivenRate()
    {
        w.reset();
        QString rateShown;
        QTimer::singleShot(0, this, [&rateShown] {
            auto* picker = qobject_cast<ui::FrmCalc*>(QApplication::activeModalWidget());
            QVERIFY(picker);
            rateShown = picker->findChild<QLabel*>("PanelCess")->text();
            QTest::mouseClick(picker->findChild<QAbstractButton*>("SBtnPrice"), Qt::LeftButton);
            auto* view = picker->findChild<QAbstractItemView*>("ListBoxShow");
            // The pick-up takes the selected line: the click selects it.
            const QPoint at = view->visualRect(view->model()->index(3, 0)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        });
        const auto picked = ui::pickValue(1000.0L, nullptr, 13.0L);
        QCOMPARE(rateShown, QStringLiteral("13.00%"));
        QVERIFY(picked);
        QCOMPARE(double(*picked), 130.0);
    }

    void errorIsReportedAndEarlierEffectsStay()
    {
        // About 1E4921 in memory, then a tax report at a rate of 1E-18 %:
        // the price excluding tax is beyond the extended range.
        QStringList keys(19, "SBtn9");
        for (int square = 0; square < 8; ++square) {
            keys << "SBtnMulti"
                 << "SBtnEqual";
        }
        keys << "SBtnMulti" << QStringList(19, "SBtn9") << "SBtnEqual"
             << "SBtnEqual"
             << "SBtnEqual"
             << "SBtnMS";
        keys << "SBtnDot" << QStringList(17, "SBtn0") << "SBtn1"
             << "SBtnSetCess"
             << "SBtnMR";
        clickKeys(keys);
        QVERIFY(shown("PanelShow").contains(QStringLiteral("E492")));
        QCOMPARE(shown("PanelCess"), QStringLiteral("0.00%"));
        QVERIFY(errors.isEmpty());
        const QStringList before = tape();
        clickKeys({"SBtnTax"});
        QCOMPARE(errors, QStringList{QStringLiteral("Floating point overflow.")});
        QCOMPARE(titles, QStringList{QStringLiteral("ui_window_test")});
        QVERIFY(hint().startsWith(gbk(" [\xCB\xB0\xBD\xF0]"))); // " [税金]"
        QCOMPARE(tape(), before);
        clickKeys({"SBtn7"});
        QCOMPARE(shown("PanelShow"), QStringLiteral("7."));
    }

    // Every action that reads a number runs inside the error guard, by click
    // and by hotkey: a caller's infinite value shows as "INF.", which no key
    // can read; the error is reported, the action's hint stays, the window
    // goes on.
    void everyReadingActionIsGuarded_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("hintStart");
        const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), alt(Qt::AltModifier), pad(Qt::KeypadModifier);
        struct Row {
            const char* control;
            int key;
            Qt::KeyboardModifiers modifiers;
            QString hintStart;
        };
        const Row rows[] = {
            {"SBtnAdd", Qt::Key_Plus, pad, " + "}, {"SBtnSub", Qt::Key_Minus, pad, " - "},
            {"SBtnMulti", Qt::Key_Asterisk, shift, gbk(" \xA1\xC1 ")}, // " × "
            {"SBtnDiv", Qt::Key_Slash, none, gbk(" \xA1\xC2 ")}, // " ÷ "
            {"SBtnEqual", Qt::Key_Return, none, " = "}, {"SBtnMS", Qt::Key_M, alt, " MS "},
            {"SBtnMAdd", Qt::Key_A, alt, " MS "}, // an empty memory hands over to MS
            {"SBtnSetCess", Qt::Key_S, alt, gbk(" [\xC9\xE8\xB6\xA8\xCB\xB0\xC2\xCA]")}, // " [设定税率]"
            {"SBtnTax", Qt::Key_J, alt, gbk(" [\xCB\xB0\xBD\xF0]")}, // " [税金]"
            {"SBtnPrice", Qt::Key_B, alt, gbk(" [\xB2\xBB\xBA\xAC\xCB\xB0\xBC\xDB]")}, // " [不含税价]"
            {"SBtnPriceAndTax", Qt::Key_U, alt, gbk(" [\xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6]")}, // " [价税合计]"
        };
        for (const Row& row : rows) {
            QTest::addRow("click %s", row.control) << row.control << 0 << none << row.hintStart;
            QTest::addRow("hotkey %s", row.control) << row.control << row.key << row.modifiers << row.hintStart;
        }
    }

    void everyReadingActionIsGuarded()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, hintStart);
        clickKeys({"SBtn5", "SBtnAdd"});
        const QStringList tapeBefore = tape();
        w->hide();
        w->setValue(calc::Extended::infinity());
        w->show();
        QCOMPARE(shown("PanelShow"), QStringLiteral("INF."));
        if (key == 0) {
            clickKeys({control});
        } else {
            QTest::keyClick(tapeView(), Qt::Key(key), modifiers);
        }
        QCOMPARE(errors, QStringList{QStringLiteral("'INF.' is not a valid floating point value.")});
        QVERIFY2(hint().startsWith(hintStart), qPrintable(hint()));
        QCOMPARE(shown("PanelShow"), QStringLiteral("INF."));
        QCOMPARE(shown("PanelM"), QString());
        QCOMPARE(tape(), tapeBefore);
        QVERIFY(w->isVisible());
        clickKeys({"SBtnCE", "SBtn4", "SBtnMS"});
        QCOMPARE(shown("PanelShow"), QStringLiteral("4."));
        QCOMPARE(shown("PanelM"), QStringLiteral("M"));
        QCOMPARE(errors.size(), 1);
    }

    // The overflow line holds no number: picking it up is reported and
    // changes nothing.
    void pickingTheOverflowLineIsGuarded()
    {
        w->hide();
        w->setValue(1e4900_x);
        w->show();
        clickKeys({"SBtnMulti", "SBtnEqual"});
        const QStringList lines = tape();
        // "结果          数字超范围!"
        QCOMPARE(lines.last(), gbk(kResultWord) + QString(10, ' ') + gbk("\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!"));
        const QString hintBefore = hint();
        doubleClickTape(rowCentre(lines.size() - 1));
        QCOMPARE(errors,
            QStringList{gbk("'\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!' is not a valid floating point value.")});
        QVERIFY(w->Value() == 1e4900_x);
        QCOMPARE(hint(), hintBefore);
        QVERIFY(w->isVisible());
        clickKeys({"SBtn7"});
        QCOMPARE(shown("PanelShow"), QStringLiteral("7."));
        QCOMPARE(errors.size(), 1);
    }

    void pickUpErrorKeepsTheWindowOpen()
    {
        clickKeys({"SBtnSetCess", "SBtn5", "SBtnTax"});
        const int zeroRateLine = tape().indexOf(gbk("\xCB\xB0\xC2\xCA\xCE\xAA"
                                                    "0."));
        QVERIFY(zeroRateLine > 0);
        w->hide();
        QTimer::singleShot(0, this, [&] {
            doubleClickTape(rowCentre(zeroRateLine));
            QCOMPARE(errors.size(), 1);
            QVERIFY(w->isVisible());
            w->done(7);
        });
        QCOMPARE(w->exec(), 7);
        QVERIFY(tape().at(tape().size() - 1).contains(gbk("\xA3\xAD\xA3\xAD")));
    }

    void draggingByTheBackground_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("background") << "ImageBak" << QPoint(5, 100) << int(Qt::LeftButton) << true;
        QTest::newRow("background, right button") << "ImageBak" << QPoint(5, 100) << int(Qt::RightButton) << false;
        QTest::newRow("tape") << "ListBoxShow" << QPoint(50, 50) << int(Qt::LeftButton) << true;
        QTest::newRow("hint line") << "MemoHint" << QPoint(50, 20) << int(Qt::LeftButton) << true;
        QTest::newRow("entry line") << "PanelShow" << QPoint(20, 9) << int(Qt::LeftButton) << true;
        QTest::newRow("key pad") << "Panel1" << QPoint(3, 3) << int(Qt::LeftButton) << true;
        QTest::newRow("title") << "LblTitle" << QPoint(3, 3) << int(Qt::LeftButton) << true;
        QTest::newRow("calculator key") << "SBtn7" << QPoint(14, 14) << int(Qt::LeftButton) << false;
        QTest::newRow("tax key") << "SBtnTax" << QPoint(14, 14) << int(Qt::LeftButton) << false;
        QTest::newRow("icon") << "ImageIco" << QPoint(3, 3) << int(Qt::LeftButton) << false;
        // Released outside the button, so that it is no click.
        QTest::newRow("close button") << "BitBtnCancel" << QPoint(50, 45) << int(Qt::LeftButton) << false;
    }

    void draggingByTheBackground()
    {
        QFETCH(QString, control);
        QFETCH(QPoint, at);
        QFETCH(int, button);
        QFETCH(bool, moves);
        QWidget* target = child(control);
        if (auto* view = qobject_cast<QAbstractScrollArea*>(target)) {
            target = view->viewport();
        }
        const auto pressed = Qt::MouseButton(button);
        const QPoint start = w->pos();
        sendMouse(target, QEvent::MouseButtonPress, at, pressed, pressed);
        sendMouse(target, QEvent::MouseMove, at + QPoint(40, 30), Qt::NoButton, pressed);
        QCOMPARE(w->pos(), moves ? start + QPoint(40, 30) : start);
        sendMouse(target, QEvent::MouseButtonRelease, at + QPoint(40, 30), pressed, Qt::NoButton);
        QVERIFY(w->isVisible());
    }

    void draggingTheTapeKeepsItsLine()
    {
        clickKeys({"SBtn1", "SBtn2", "SBtnAdd", "SBtn3", "SBtn0", "SBtnEqual"});
        QWidget* viewport = tapeView()->viewport();
        const QPoint at = rowCentre(1);
        sendMouse(viewport, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(int(w->core().tape().selected()), 1);
        // Within the drag distance nothing moves: a click may jitter.
        sendMouse(viewport, QEvent::MouseMove, at + QPoint(0, 7), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->pos(), QPoint(182, 175));
        sendMouse(viewport, QEvent::MouseMove, at + QPoint(0, 40), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w->pos(), QPoint(182, 215));
        sendMouse(viewport, QEvent::MouseButtonRelease, at + QPoint(0, 40), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(int(w->core().tape().selected()), 1);
    }

    void onlyANewShowResets()
    {
        clickKeys({"SBtn5", "SBtnMS", "SBtn8", "SBtnSetCess"});
        QShowEvent restore;
        QSpontaneKeyEvent::setSpontaneous(&restore);
        qApp->notify(w.get(), &restore); // sendEvent would clear the spontaneous flag
        QCOMPARE(asDouble(w->core().state().MemoryValue), 5.0);
        QCOMPARE(shown("PanelCess"), QStringLiteral("8.00%"));
        w->hide();
        w->show();
        QCOMPARE(asDouble(w->core().state().MemoryValue), 0.0);
        QCOMPARE(shown("PanelCess"), QStringLiteral("17%"));
        QCOMPARE(shown("PanelM"), QStringLiteral("M"));
        QCOMPARE(hint(), gbk(kWelcome));
    }

    void accessibleNamesAreUnique()
    {
        QSet<QString> names;
        const auto controls =
            w->findChildren<QWidget*>(QRegularExpression("^(SBtn|Lbl|Image|Panel|ListBox|Memo|BitBtn)"));
        QCOMPARE(std::size_t(controls.size()), calc::kKeyCount + 12);
        for (QWidget* control : controls) {
            names.insert(control->accessibleName());
        }
        QCOMPARE(names.size(), controls.size());
        QVERIFY(!names.contains(QString()));
    }
};

QTEST_MAIN(WindowTest)
#include "ui_window_test.moc"
