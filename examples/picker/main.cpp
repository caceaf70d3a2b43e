// Opens the calculator window on 100 and prints the number of the tape line
// the user double-clicks, or "nothing picked" when the window is closed.
//
//   picker-example              for a person
//   picker-example --self-test  types 1 2 + 3 0 Enter into the window and
//                               double-clicks the result line through Qt
//                               events, as a person would; prints 42
#include "ui/Picker.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <initializer_list>
#include <iostream>

namespace {

void type(QWidget* window, Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void doubleClick(QWidget* target, QPoint at)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
             QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, {});
        QApplication::sendEvent(target, &event);
    }
}

void actAsAPerson()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window) {
        return;
    }
    // The pictures come from resources linked in with the library: a window
    // without its background means they were lost on the way.
    const auto* background = window->findChild<QLabel*>(QStringLiteral("ImageBak"));
    if (!background || background->pixmap().isNull()) {
        std::cerr << "the window's pictures are missing\n";
        window->close();
        return;
    }
    for (const char digit : {'1', '2'}) {
        type(window, Qt::Key(digit), QString(QChar(digit)));
    }
    type(window, Qt::Key_Plus, QStringLiteral("+"), Qt::ShiftModifier);
    for (const char digit : {'3', '0'}) {
        type(window, Qt::Key(digit), QString(QChar(digit)));
    }
    type(window, Qt::Key_Return, QStringLiteral("\r"));

    auto* tape = window->findChild<QAbstractItemView*>(QStringLiteral("ListBoxShow"));
    const int last = tape->model()->rowCount() - 1;
    doubleClick(tape->viewport(), tape->visualRect(tape->model()->index(last, 0)).center());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QApplication::arguments().contains(QStringLiteral("--self-test"))) {
        QTimer::singleShot(0, &app, actAsAPerson);
    }

    const auto picked = ui::pickValue(100.0L);
    if (!picked) {
        std::cout << "nothing picked\n";
        return 1;
    }
    std::cout << double(*picked) << '\n';
    return 0;
}
