// The yardstick for the calculator's start-up: a frameless dialog of the
// same size, place, font and widget count as the calculator window, with the
// same kinds of widgets and captions but no pictures, style sheets, palettes,
// model or calculator behind them. For bench-keys, the least a key can do in
// it: a digit goes onto the entry line, a backspace takes one off.
#include "ui/SongFaces.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QToolButton>

#include <array>

namespace {

struct Key {
    const char16_t* caption;
    bool onTaxPad;
    int row;
    int column;
};

// Twenty-four keys on the calculator pad, four on the tax pad.
constexpr auto kKeys = std::to_array<Key>({
    {u"MC", false, 0, 0},
    {u"MR", false, 1, 0},
    {u"MS", false, 2, 0},
    {u"M+", false, 3, 0},
    {u"7", false, 0, 1},
    {u"8", false, 0, 2},
    {u"9", false, 0, 3},
    {u"＋", false, 0, 4},
    {u"←", false, 0, 5},
    {u"4", false, 1, 1},
    {u"5", false, 1, 2},
    {u"6", false, 1, 3},
    {u"－", false, 1, 4},
    {u"CE", false, 1, 5},
    {u"1", false, 2, 1},
    {u"2", false, 2, 2},
    {u"3", false, 2, 3},
    {u"×", false, 2, 4},
    {u"C", false, 2, 5},
    {u"0", false, 3, 1},
    {u"±", false, 3, 2},
    {u".", false, 3, 3},
    {u"÷", false, 3, 4},
    {u"＝", false, 3, 5},
    {u"设定税率", true, 0, 0},
    {u"价税合计", true, 0, 1},
    {u"税金", true, 1, 0},
    {u"不含税价", true, 1, 1},
});

QRect keyRect(const Key& key)
{
    if (key.onTaxPad) {
        return {10 + 70 * key.column, 10 + 35 * key.row, 61, 28};
    }
    return {10 + 30 * key.column, 10 + 35 * key.row, 28, 28};
}

template <class Widget>
Widget* place(Widget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const QString& text, QRect geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

// Every key press, before any widget sees it.
class EntryKeys : public QObject {
public:
    explicit EntryKeys(QLabel* entry) : entry_(entry) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        QString text = entry_->text();
        if (key->key() == Qt::Key_Backspace) {
            if (text.size() > 2) {
                text.remove(text.size() - 2, 1);
            }
        } else if (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) {
            text.insert(text.size() - 1, key->text());
        }
        entry_->setText(text);
        return true;
    }

private:
    QLabel* entry_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    dialog.setWindowTitle(QStringLiteral("bare dialog"));
    dialog.setFixedSize(574, 250);
    dialog.move(182, 175);
    QFont font;
    QStringList families;
    for (const std::string_view face : ui::fonts::kSongFaces) {
        families << QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    }
    font.setFamilies(families);
    font.setPixelSize(12);
    dialog.setFont(font);

    // The same twelve controls in the same stacking order, then the keys.
    label(&dialog, {}, {0, 0, 574, 250});
    label(&dialog, QStringLiteral("青禾税率计算器"), {38, 15, 84, 12});
    label(&dialog, {}, {13, 15, 16, 12});
    label(&dialog, QStringLiteral("当前税率："), {449, 16, 60, 12});
    place(new QListView(&dialog), 13, 34, 186, 152);
    label(&dialog, {}, {217, 12, 30, 18});
    place(new QPlainTextEdit(&dialog), 13, 195, 546, 39);
    QLabel* entry = label(&dialog, QStringLiteral("0."), {253, 12, 151, 18});
    entry->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* calculatorPad = place(new QFrame(&dialog), 208, 35, 196, 151);
    auto* taxPad = place(new QFrame(&dialog), 408, 35, 151, 81);
    label(&dialog, QStringLiteral("17%"), {510, 12, 48, 18});
    place(new QToolButton(&dialog), 500, 135, 58, 50)->setText(QStringLiteral("返  回"));
    for (const Key& key : kKeys) {
        auto* button = new QToolButton(key.onTaxPad ? taxPad : calculatorPad);
        button->setGeometry(keyRect(key));
        button->setText(QString::fromUtf16(key.caption));
    }

    EntryKeys keys(entry);
    app.installEventFilter(&keys);
    dialog.show();
    return app.exec();
}
