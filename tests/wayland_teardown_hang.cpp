// The smallest program that shows Qt's Wayland teardown hang: a plain
// QDialog, nothing of the calculator's, that closes once its first frame is
// painted. It says "closed" when its event loop has ended; the hang, where
// there is one, comes after, in QApplication's destructor.

#include <QApplication>
#include <QDialog>
#include <QMetaObject>

#include <cstdio>

namespace {

class ClosingDialog : public QDialog {
protected:
    void paintEvent(QPaintEvent* event) override
    {
        QDialog::paintEvent(event);
        // Queued: hiding the window inside its own paint crashes Qt 6.4's
        // Wayland backing store.
        if (!closing_) {
            closing_ = true;
            QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        }
    }

private:
    bool closing_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ClosingDialog dialog;
    dialog.resize(200, 100);
    dialog.exec();
    std::fputs("closed\n", stderr);
    return 0;
}
