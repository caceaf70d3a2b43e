#pragma once

#include <QLabel>

namespace ui {

// The window's background picture. The controls above it paint their own
// backgrounds, so Qt leaves their places out of its paint region, and one
// picture drawn through such a ragged clip goes through Qt's general span
// filler, which splits the work over pooled threads it starts for the
// purpose. Drawn one rectangle of the region at a time, each part is a plain
// copy of pixel rows on the painting thread.
class BackgroundLabel : public QLabel {
    Q_OBJECT

public:
    explicit BackgroundLabel(QWidget* parent = nullptr) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
