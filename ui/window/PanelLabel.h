#pragma once

#include <QLabel>

namespace ui {

// A caption panel: flat one-pixel black border whatever its text colour,
// drawn by hand so that no style sheet has to be parsed at start-up.
class PanelLabel : public QLabel {
    Q_OBJECT

public:
    explicit PanelLabel(QWidget* parent = nullptr);

    // Shows the text and tells assistive technology what changed; the same
    // text again changes nothing.
    void setCaption(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
