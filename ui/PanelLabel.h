#pragma once

#include <QLabel>

namespace ui {

// A caption panel: flat one-pixel black border whatever its text colour,
// drawn by hand so that no style sheet has to be parsed at start-up.
class PanelLabel : public QLabel {
public:
    explicit PanelLabel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
