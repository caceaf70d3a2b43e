#pragma once

#include <QToolButton>

namespace ui {

// A bitmap button: its glyph above its caption, and the focus cue inside its
// edge while it holds the keyboard focus.
class BitmapButton : public QToolButton {
public:
    explicit BitmapButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
