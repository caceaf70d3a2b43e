#include "ui/ErrorGuard.h"

#include "ui/GbkText.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace ui {

ErrorGuard::ErrorGuard(QWidget* owner)
    : reporter_([owner](const QString& title, const QString& message) {
        QMessageBox::critical(owner, title, message, QMessageBox::Ok);
    })
{
}

std::string ErrorGuard::withFinalPoint(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        message += '.';
    }
    return message;
}

QString ErrorGuard::programTitle() { return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(); }

void ErrorGuard::report(std::string_view gbkMessage)
{
    reporter_(programTitle(), fromGbk(withFinalPoint(std::string(gbkMessage))));
}

} // namespace ui
