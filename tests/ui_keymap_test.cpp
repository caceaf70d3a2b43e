// What the window reads of a key from a real keyboard layout: keymaps
// compiled from the system's layout names, as an X server or a compositor
// would build them.

#include "calc/CFree.h"
#include "ui/keyboard/KeymapKeys.h"

#include <QtTest>

#include <xkbcommon/xkbcommon.h>

namespace {

using Keymap = calc::CHandle<xkb_keymap, &xkb_keymap_unref>;

Keymap compile(const QByteArray& layout)
{
    const calc::CHandle<xkb_context, &xkb_context_unref> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const xkb_rule_names names{"evdev", "pc105", layout.constData(), "", ""};
    return Keymap(xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

} // namespace

class KeymapTest : public QObject {
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QByteArray>("key"); // XKB's name of its place
        QTest::addColumn<uint>("group");
        QTest::addColumn<bool>("described");
        QTest::addColumn<int>("digit"); // -1: not on the digit row
        QTest::addColumn<uint>("unshifted");
        QTest::addColumn<uint>("shifted");
        QTest::addColumn<char>("letter");
        const auto row = [](const char* name, const char* layout, const char* key, uint group, int digit,
                             char32_t unshifted, char32_t shifted, char letter) {
            QTest::newRow(name) << QByteArray(layout) << QByteArray(key) << group << true << digit << uint(unshifted)
                                << uint(shifted) << letter;
        };
        const auto nothing = [](const char* name, const char* layout, const char* key) {
            QTest::newRow(name) << QByteArray(layout) << QByteArray(key) << 0U << false << -1 << 0U << 0U << char(0);
        };
        row("us 8", "us", "AE08", 0, 8, U'8', U'*', 0);
        row("us =", "us", "AE12", 0, -1, U'=', U'+', 0);
        row("us C", "us", "AB03", 0, -1, U'c', U'C', 'C');
        row("fr & is the 1 key", "fr", "AE01", 0, 1, U'&', U'1', 0);
        row("fr _ is the 8 key", "fr", "AE08", 0, 8, U'_', U'8', 0);
        row("fr A where US has Q", "fr", "AD01", 0, -1, U'a', U'A', 'A');
        row("fr M right of L", "fr", "AC10", 0, -1, U'm', U'M', 'M');
        row("de = on the 0 key", "de", "AE10", 0, 0, U'0', U'=', 0);
        row("de #", "de", "BKSL", 0, -1, U'#', U'\'', 0);
        row("ru es: the US C place", "ru", "AB03", 0, -1, U'\u0441', U'\u0421', 'C');
        row("ru yu: no US letter there", "ru", "AB09", 0, -1, U'\u044E', U'\u042E', 0);
        row("us,ru first group", "us,ru", "AB03", 0, -1, U'c', U'C', 'C');
        row("us,ru second group", "us,ru", "AB03", 1, -1, U'\u0441', U'\u0421', 'C');
        nothing("Return", "us", "RTRN");
        nothing("F9", "fr", "FK09");
        nothing("keypad 1", "de", "KP1");
        nothing("keypad +", "us", "KPAD");
    }

    void keys()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QByteArray, key);
        QFETCH(uint, group);
        const Keymap keymap = compile(layout);
        QVERIFY2(keymap, "the system has no such layout");
        const xkb_keycode_t keycode = xkb_keymap_key_by_name(keymap.get(), key.constData());
        QVERIFY(keycode != XKB_KEYCODE_INVALID);
        const auto described = ui::describeKey(keymap.get(), keycode, group);
        QTEST(described.has_value(), "described");
        if (described) {
            QTEST(described->digit.value_or(-1), "digit");
            QTEST(uint(described->unshifted), "unshifted");
            QTEST(uint(described->shifted), "shifted");
            QTEST(described->letter, "letter");
        }
    }

    // On Wayland the group is the one that types what Qt reported, the one
    // the compositor told where the key types it in both.
    void groupOfTheCharacterTyped()
    {
        const Keymap keymap = compile("us,ru");
        QVERIFY(keymap);
        const xkb_keycode_t c = xkb_keymap_key_by_name(keymap.get(), "AB03");
        QCOMPARE(ui::groupTyping(keymap.get(), c, XKB_KEY_Cyrillic_ES, 0), 1U);
        QCOMPARE(ui::groupTyping(keymap.get(), c, XKB_KEY_c, 1), 0U);
        // Told a group where the key types it, that one.
        const xkb_keycode_t one = xkb_keymap_key_by_name(keymap.get(), "AE01");
        QCOMPARE(ui::groupTyping(keymap.get(), one, XKB_KEY_1, 1), 1U);
        QCOMPARE(ui::groupTyping(keymap.get(), one, XKB_KEY_1, 0), 0U);
        // Nowhere: the group told, brought into the key's range.
        QCOMPARE(ui::groupTyping(keymap.get(), c, XKB_KEY_NoSymbol, 1), 1U);
        QCOMPARE(ui::groupTyping(keymap.get(), c, XKB_KEY_NoSymbol, 2), 0U);
    }
};

QTEST_GUILESS_MAIN(KeymapTest)
#include "ui_keymap_test.moc"
