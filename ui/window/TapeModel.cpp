#include "ui/window/TapeModel.h"

namespace ui {

TapeModel::TapeModel(const calc::Tape& tape) : tape_(tape), rows_(static_cast<int>(tape.count())) {}

int TapeModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant TapeModel::data(const QModelIndex& index, int role) const
{
    const auto row = static_cast<std::size_t>(index.row());
    if (!index.isValid() || row >= tape_.count()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        return text_(tape_.line(row));
    }
    return {};
}

void TapeModel::lineAppended(std::size_t index)
{
    const int row = static_cast<int>(index);
    beginInsertRows({}, row, row);
    ++rows_;
    endInsertRows();
}

void TapeModel::lineDeleted(std::size_t index)
{
    const int row = static_cast<int>(index);
    if (row >= rows_) {
        return;
    }
    beginRemoveRows({}, row, row);
    --rows_;
    endRemoveRows();
}

void TapeModel::tapeCleared()
{
    beginResetModel();
    rows_ = 0;
    endResetModel();
}

void TapeModel::selectionChanged(std::ptrdiff_t index) { emit coreSelected(static_cast<int>(index)); }

} // namespace ui
