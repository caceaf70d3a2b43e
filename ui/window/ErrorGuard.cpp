#include "ui/window/ErrorGuard.h"

#include "ui/window/GbkText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

ErrorGuard::ErrorGuard(QWidget* owner)
    : reporter_([owner](const QString& title, const QString& message) { errorBox(owner, title, message)->exec(); })
{
}

std::string ErrorGuard::withFinalPoint(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        message += '.';
    }
    return message;
}

std::unique_ptr<QMessageBox> ErrorGuard::errorBox(QWidget* owner, const QString& title, const QString& message)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, title, message, QMessageBox::Ok, owner);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    return box;
}

QString ErrorGuard::programTitle() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

void ErrorGuard::report(std::string_view gbkMessage)
{
    reporter_(programTitle(), fromGbk(withFinalPoint(std::string(gbkMessage))));
}

} // namespace ui
