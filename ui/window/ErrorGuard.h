#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class QMessageBox;
class QWidget;

namespace ui {

// Runs one user action so that no exception reaches Qt's event loop, and
// reports a failure the way the program reports every error: a critical box
// titled with the program's name. Tests swap the reporter to keep the box away.
class ErrorGuard {
public:
    using Reporter = std::function<void(const QString& title, const QString& message)>;

    explicit ErrorGuard(QWidget* owner);

    void setReporter(Reporter reporter) { reporter_ = std::move(reporter); }

    // Runs the action, then `settle` (the view follows the core), then
    // reports the action's error if it had one.
    template <class Action, class Settle>
    void run(Action&& action, Settle&& settle)
    {
        std::optional<std::string> failure;
        try {
            std::forward<Action>(action)();
        } catch (const std::exception& e) {
            // The core's errors (calc::Exception) carry their message here too.
            failure = e.what();
        }
        std::forward<Settle>(settle)();
        if (failure) {
            report(*failure);
        }
    }

    // "Invalid" -> "Invalid.", "Done." and "Why?" stay: a point is added
    // unless the last byte is at or below '.'.
    static std::string withFinalPoint(std::string message);
    // The executable's file name without its extension.
    static QString programTitle();
    // The critical box a failure is reported in: the desktop's own look, its
    // one button "确定" as every text of the window is Chinese.
    static std::unique_ptr<QMessageBox> errorBox(QWidget* owner, const QString& title, const QString& message);

private:
    void report(std::string_view gbkMessage);

    Reporter reporter_;
};

} // namespace ui
