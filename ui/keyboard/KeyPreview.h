#pragma once

#include "ui/keyboard/KeyMap.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QWidget;

namespace ui {

// Shows the window every key press before the focused control gets it, as
// the key of the US keyboard map that acts for it on the layout in use, and
// lets the key go on: an application event filter that reacts to the first
// delivery of each press to this window, not to the deliveries Qt makes up
// the parent chain when a child ignores the key.
class KeyPreview : public QObject {
public:
    using Handler = std::function<void(std::uint16_t& key, ShiftState shift)>;

    KeyPreview(QWidget* window, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Handler handler_;
};

} // namespace ui
