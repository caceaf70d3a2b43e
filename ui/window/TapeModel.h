#pragma once

#include "calc/Tape.h"
#include "ui/window/GbkText.h"

#include <QAbstractListModel>

namespace ui {

// The tape as a list model. It follows the core's change notices row by row,
// so a key press costs the same with ten lines or a million; only the rows a
// view paints are ever decoded.
class TapeModel : public QAbstractListModel, public calc::TapeObserver {
    Q_OBJECT

public:
    explicit TapeModel(const calc::Tape& tape);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void lineAppended(std::size_t index) override;
    void lineDeleted(std::size_t index) override;
    void tapeCleared() override;
    void selectionChanged(std::ptrdiff_t index) override;

signals:
    // The core selected this row, -1 for none; the view follows and scrolls.
    void coreSelected(int row);

private:
    const calc::Tape& tape_;
    // Rows as the views know them; lags the tape between a notice's begin
    // and end calls, as Qt's model contract wants.
    int rows_;
    mutable GbkText text_;
};

} // namespace ui
