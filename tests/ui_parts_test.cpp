// The window's helpers on their own: key translation, error text, GBK text,
// pictures, the tape model and the picker's refusal.

#include "calc/Tape.h"
#include "ui/Picker.h"
#include "ui/keyboard/KeyMap.h"
#include "ui/keyboard/XkbLayout.h"
#include "ui/look/BitmapDecode.h"
#include "ui/look/Pictures.h"
#include "ui/window/ErrorGuard.h"
#include "ui/window/GbkText.h"
#include "ui/window/TapeModel.h"

#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

// The control a row of the keyboard map clicks; empty past its end.
QString controlName(std::size_t row)
{
    if (row >= ui::kKeyMap.size()) {
        return {};
    }
    const std::string_view name = ui::kKeyMap[row].control;
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

} // namespace

class PartsTest : public QObject {
    Q_OBJECT

private slots:
    void virtualKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("alt");
        const Qt::KeyboardModifiers none, shift(Qt::ShiftModifier), pad(Qt::KeypadModifier);
        QTest::newRow("Shift+8 arrives as *") << int(Qt::Key_Asterisk) << shift << 56 << true << false;
        QTest::newRow("* without Shift is still Shift+8") << int(Qt::Key_Asterisk) << none << 56 << true << false;
        QTest::newRow("Shift+0 arrives as )") << int(Qt::Key_ParenRight) << shift << 48 << true << false;
        QTest::newRow("=") << int(Qt::Key_Equal) << none << 187 << false << false;
        QTest::newRow("Shift+= arrives as +") << int(Qt::Key_Plus) << shift << 187 << true << false;
        QTest::newRow("Shift+/ arrives as ?") << int(Qt::Key_Question) << shift << 191 << true << false;
        QTest::newRow("Shift+. arrives as >") << int(Qt::Key_Greater) << shift << 190 << true << false;
        QTest::newRow("keypad 0") << int(Qt::Key_0) << pad << 96 << false << false;
        QTest::newRow("keypad 8 with Shift") << int(Qt::Key_8) << (pad | shift) << 104 << true << false;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << pad << 107 << false << false;
        QTest::newRow("keypad Enter is Return") << int(Qt::Key_Enter) << pad << 13 << false << false;
        QTest::newRow("Alt+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::AltModifier) << 67 << false << true;
    }

    void virtualKey()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        const auto translated = ui::toVirtualKey(key, modifiers);
        QVERIFY(translated);
        QTEST(int(translated->code), "code");
        QTEST(translated->shift.shift, "shift");
        QTEST(translated->shift.alt, "alt");
    }

    // What a key of a layout does, as the control the US map clicks for it.
    void layoutKeys_data()
    {
        QTest::addColumn<int>("digit"); // -1: not on the digit row
        QTest::addColumn<uint>("unshifted");
        QTest::addColumn<uint>("shifted");
        QTest::addColumn<char>("letter");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<QString>("control"); // empty: nothing
        const auto row = [](const char* name, int digit, char32_t unshifted, char32_t shifted, char letter, bool shift,
                             bool alt, const char* control) {
            QTest::newRow(name) << digit << uint(unshifted) << uint(shifted) << letter << shift << alt
                                << QString::fromLatin1(control);
        };
        row("us 8", 8, U'8', U'*', 0, false, false, "SBtn8");
        row("us Shift+8 multiplies", 8, U'8', U'*', 0, true, false, "SBtnMulti");
        row("us Shift+5 types 5", 5, U'5', U'%', 0, true, false, "SBtn5");
        row("us =", -1, U'=', U'+', 0, false, false, "SBtnEqual");
        row("us Shift+= adds", -1, U'=', U'+', 0, true, false, "SBtnAdd");
        row("us - changes the sign", -1, U'-', U'_', 0, false, false, "SBtnZF");
        row("us Shift+- too", -1, U'-', U'_', 0, true, false, "SBtnZF");
        row("us Shift+/ divides", -1, U'/', U'?', 0, true, false, "SBtnDiv");
        row("us Shift+. is the point", -1, U'.', U'>', 0, true, false, "SBtnDot");
        row("us , nothing", -1, U',', U'<', 0, false, false, "");
        row("us Alt+C", -1, U'c', U'C', 'C', false, true, "SBtnC");
        row("us C without Alt", -1, U'c', U'C', 'C', false, false, "");
        row("fr & types 1", 1, U'&', U'1', 0, false, false, "SBtn1");
        row("fr é types 2", 2, U'\u00E9', U'2', 0, false, false, "SBtn2");
        row("fr Shift+8 types 8", 8, U'_', U'8', 0, true, false, "SBtn8");
        row("fr - on the 6 changes the sign", 6, U'-', U'6', 0, false, false, "SBtnZF");
        row("fr * multiplies", -1, U'*', U'\u00B5', 0, false, false, "SBtnMulti");
        row("fr ù nothing, not 5", -1, U'\u00F9', U'%', 0, false, false, "");
        row("fr Alt+M", -1, U'm', U'M', 'M', false, true, "SBtnMS");
        row("de Shift+0 is equals", 0, U'0', U'=', 0, true, false, "SBtnEqual");
        row("de Shift+7 divides", 7, U'7', U'/', 0, true, false, "SBtnDiv");
        row("de Shift+3 types 3", 3, U'3', U'\u00A7', 0, true, false, "SBtn3");
        row("de # nothing, not 3", -1, U'#', U'\'', 0, false, false, "");
        row("de + adds", -1, U'+', U'*', 0, false, false, "SBtnAdd");
        row("de Shift++ multiplies", -1, U'+', U'*', 0, true, false, "SBtnMulti");
        row("ru Alt+es clears", -1, U'\u0441', U'\u0421', 'C', false, true, "SBtnC");
        row("ru Shift+7 types 7", 7, U'7', U'?', 0, true, false, "SBtn7");
    }

    void layoutKeys()
    {
        QFETCH(int, digit);
        QFETCH(uint, unshifted);
        QFETCH(uint, shifted);
        QFETCH(char, letter);
        QFETCH(bool, shift);
        QFETCH(bool, alt);
        QFETCH(QString, control);
        const ui::LayoutKey key{
            digit < 0 ? std::nullopt : std::optional<int>(digit), char32_t(unshifted), char32_t(shifted), letter};
        const ui::ShiftState state{shift, alt, false};
        std::optional<std::size_t> clicked;
        if (const auto pressed = ui::layoutVirtualKey(key, state)) {
            clicked = ui::keyStageOne(pressed->code, pressed->shift);
            if (!clicked) {
                clicked = ui::keyStageTwo(pressed->code, pressed->shift);
            }
        }
        QCOMPARE(clicked ? controlName(*clicked) : QString(), control);
    }

    // However many windows a program opens, one layout reader serves them.
    void oneLayoutReaderServesTheProgram()
    {
        ui::XkbLayout& first = ui::XkbLayout::ofApplication();
        QCOMPARE(&ui::XkbLayout::ofApplication(), &first);
        QCOMPARE(qApp->findChildren<ui::XkbLayout*>().size(), 1);
    }

    void modifierKeysAreNoKeys()
    {
        QVERIFY(!ui::toVirtualKey(Qt::Key_Shift, Qt::ShiftModifier));
        QVERIFY(!ui::toVirtualKey(Qt::Key_Alt, Qt::AltModifier));
        QVERIFY(!ui::toVirtualKey(Qt::Key_Home, {}));
    }

    void stagesNeverBothAct()
    {
        for (int code = 0; code < 256; ++code) {
            for (const bool shift : {false, true}) {
                const ui::ShiftState state{shift, true, false};
                const auto code16 = static_cast<std::uint16_t>(code);
                QVERIFY2(!(ui::keyStageOne(code16, state) && ui::keyStageTwo(code16, state)),
                    qPrintable(QString::number(code)));
            }
        }
    }

    void lettersNeedAlt()
    {
        QVERIFY(!ui::keyStageOne('C', {}));
        QVERIFY(!ui::keyStageTwo('C', {false, false, true}));
        QCOMPARE(
            controlName(ui::keyStageTwo('C', {false, true, false}).value_or(ui::kKeyMap.size())), QString("SBtnC"));
    }

    void finalPoint_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("letter") << QByteArray("Invalid") << QByteArray("Invalid.");
        QTest::newRow("point") << QByteArray("Done.") << QByteArray("Done.");
        QTest::newRow("quote is below the point") << QByteArray("'1E20.'") << QByteArray("'1E20.'");
        QTest::newRow("blank is below the point") << QByteArray("Why ") << QByteArray("Why ");
        QTest::newRow("comma is below the point") << QByteArray("a,") << QByteArray("a,");
        QTest::newRow("GBK trail byte") << QByteArray("\xCA\xFD") << QByteArray("\xCA\xFD.");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void finalPoint()
    {
        QFETCH(QByteArray, message);
        QTEST(QByteArray::fromStdString(ui::ErrorGuard::withFinalPoint(message.toStdString())), "shown");
    }

    void gbkKeepsTheEmDash()
    {
        // "——" of the entry-limit hint is A1 AA twice in GBK.
        QCOMPARE(ui::fromGbk("\xA1\xAA\xA1\xAA"), QStringLiteral(u"\u2014\u2014"));
        QCOMPARE(ui::fromGbk("\xBD\xE1\xB9\xFB"), QStringLiteral(u"\u7ED3\u679C"));
    }

    void gbkLinesDoNotLeak()
    {
        ui::GbkText text;
        // A stateful decoder would keep the lone lead byte and make "\xBD" "A" one character.
        QCOMPARE(text("\xBD"), QStringLiteral(u"\uFFFD"));
        QCOMPARE(text("A"), QStringLiteral("A"));
    }

    // A byte that starts no character shows as one replacement and the rest
    // of the text still shows; a text longer than any buffer comes whole.
    void gbkShowsWhatItCannotRead()
    {
        ui::GbkText text;
        QCOMPARE(text("1\xFF\xBD\xE1\xB9\xFB"
                      "2"),
            QStringLiteral(u"1\uFFFD\u7ED3\u679C"
                           "2"));
        QCOMPARE(text("\xFF"), QStringLiteral(u"\uFFFD"));
        QCOMPARE(text("\xBD\xE1\xB9"), QStringLiteral(u"\u7ED3\uFFFD"));
        QCOMPARE(text(""), QString());
        const std::string longLine = std::string(300, '9') + "\xBD\xE1" + std::string(300, '.');
        QCOMPARE(text(longLine), QString(300, u'9') + QChar(0x7ED3) + QString(300, u'.'));
    }

    void pictures()
    {
        QCOMPARE(ui::pictures::jpeg(ui::pictures::kBackground).size(), QSize(574, 250));
        QCOMPARE(ui::pictures::jpeg(ui::pictures::kIcon).size(), QSize(16, 12));
        QVERIFY(ui::pictures::decodeJpeg(QByteArray("not a picture")).isNull());
        QVERIFY(ui::pictures::applicationIcon().availableSizes().contains(QSize(32, 32)));
        const QImage background = ui::pictures::jpeg(ui::pictures::kBackground).toImage();
        QVERIFY(background.pixelColor(0, 0).lightness() >= 245);
        // The plate's colour, channel by channel, opaque.
        const QColor plate = background.pixelColor(287, 125);
        QVERIFY(qAbs(plate.red() - 0x66) <= 3);
        QVERIFY(qAbs(plate.green() - 0x78) <= 3);
        QVERIFY(qAbs(plate.blue() - 0x82) <= 3);
        QCOMPARE(plate.alpha(), 255);
    }

    void glyphsClearTheirBottomLeftColour()
    {
        const QImage dot = ui::pictures::glyph(ui::pictures::kDotGlyph).toImage();
        QCOMPARE(dot.size(), QSize(16, 16));
        QCOMPARE(qAlpha(dot.pixel(0, 15)), 0);
        QCOMPARE(dot.pixelColor(7, 11), QColor(Qt::black));
        QCOMPARE(qAlpha(dot.pixel(7, 9)), 0);
        const QImage cancel = ui::pictures::glyph(ui::pictures::kCancelGlyph).toImage();
        QCOMPARE(qAlpha(cancel.pixel(15, 15)), 0);
        QCOMPARE(cancel.pixelColor(12, 7), QColor(0, 0, 255));
    }

    void bitmapsAreReadWithoutQtsReaders()
    {
        QFile file(ui::pictures::kDotGlyph);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray dot = file.readAll();
        QCOMPARE(ui::pictures::decodeBmp(dot).size(), QSize(16, 16));
        // Cut short, or not a bitmap at all: nothing, never a read past the end.
        for (const qsizetype length : {qsizetype(0), qsizetype(13), qsizetype(54), dot.size() - 1}) {
            QVERIFY2(ui::pictures::decodeBmp(dot.first(length)).isNull(), qPrintable(QString::number(length)));
        }
        QVERIFY(ui::pictures::decodeIco(dot).isNull());

        // A 2 x 2 picture stored top row first (negative height), 24 bits a pixel.
        QByteArray topDown("BM", 2);
        const auto put = [&topDown](quint32 value, int size) {
            for (int i = 0; i < size; ++i) {
                topDown.append(char((value >> (8 * i)) & 0xFF));
            }
        };
        put(70, 4), put(0, 4), put(54, 4);
        put(40, 4), put(2, 4), put(quint32(-2), 4), put(1, 2), put(24, 2), put(0, 4), put(16, 4);
        put(0, 4), put(0, 4), put(0, 4), put(0, 4);
        // Rows are blue, green, red bytes; a value written little-endian puts red last.
        put(0xFF0000, 3), put(0x00FF00, 3), put(0, 2); // red, green
        put(0x0000FF, 3), put(0xFFFFFF, 3), put(0, 2); // blue, white
        const QImage image = ui::pictures::decodeBmp(topDown);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(image.pixelColor(1, 0), QColor(Qt::green));
        QCOMPARE(image.pixelColor(0, 1), QColor(Qt::blue));

        QFile iconFile(ui::pictures::kApplicationIcon);
        QVERIFY(iconFile.open(QIODevice::ReadOnly));
        const QByteArray icon = iconFile.readAll();
        const QImage iconImage = ui::pictures::decodeIco(icon);
        QCOMPARE(iconImage.size(), QSize(32, 32));
        QVERIFY(ui::pictures::decodeIco(icon.first(icon.size() - 1)).isNull());
    }

    void tapeModelFollowsNotices()
    {
        calc::Tape tape;
        ui::TapeModel model(tape);
        tape.setObserver(&model);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy selected(&model, &ui::TapeModel::coreSelected);
        tape.append("a");
        tape.append("\xBD\xE1\xB9\xFB");
        tape.select(1);
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(1).data().toString(), QStringLiteral(u"\u7ED3\u679C"));
        QCOMPARE(selected.last().at(0).toInt(), 1);
        tape.remove(0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(model.rowCount(), 1);
        tape.clear();
        QCOMPARE(model.rowCount(), 0);
        tape.setObserver(nullptr);
    }

    void pickerRefusesNonFiniteStartAndRatesOutOfRange()
    {
        QVERIFY(!ui::pickValue(std::numeric_limits<long double>::infinity()));
        QVERIFY(!ui::pickValue(std::numeric_limits<long double>::quiet_NaN()));
        // A start rate the rate key would refuse, likewise.
        for (const long double rate : {100.0L, -1.0L, std::numeric_limits<long double>::quiet_NaN()}) {
            QVERIFY(!ui::pickValue(5.0L, nullptr, rate));
        }
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

QTEST_MAIN(PartsTest)
#include "ui_parts_test.moc"
