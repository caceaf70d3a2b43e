#include "ui/window/TapeView.h"

#include "ui/window/FocusCue.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace ui {

TapeView::TapeView(QWidget* parent) : QListView(parent)
{
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TapeView::setModel(QAbstractItemModel* model)
{
    QAbstractItemView::setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TapeView::refresh);
    }
    refresh();
}

int TapeView::rows() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int TapeView::firstRow() const { return verticalScrollBar()->value(); }

int TapeView::rowsInSight() const { return std::max(1, viewport()->height() / kRowHeight); }

QRect TapeView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return {};
    }
    return {0, (index.row() - firstRow()) * kRowHeight, viewport()->width(), kRowHeight};
}

void TapeView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid()) {
        return;
    }
    const int row = index.row(), first = firstRow(), inSight = rowsInSight();
    if (hint == PositionAtTop || (hint == EnsureVisible && row < first)) {
        verticalScrollBar()->setValue(row);
    } else if (hint == PositionAtBottom || (hint == EnsureVisible && row >= first + inSight)) {
        verticalScrollBar()->setValue(row - inSight + 1);
    } else if (hint == PositionAtCenter) {
        verticalScrollBar()->setValue(row - inSight / 2);
    }
}

QModelIndex TapeView::indexAt(const QPoint& point) const
{
    if (point.y() < 0 || !model()) {
        return {};
    }
    const int row = firstRow() + point.y() / kRowHeight;
    return row < rows() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

void TapeView::reset()
{
    QAbstractItemView::reset();
    refresh();
}

QModelIndex TapeView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rows();
    if (count == 0) {
        return {};
    }
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious: row = current - 1; break;
    case MoveDown:
    case MoveNext: row = current + 1; break;
    case MovePageUp: row = current - rowsInSight(); break;
    case MovePageDown: row = current + rowsInSight(); break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = count - 1; break;
    default: return currentIndex();
    }
    return model()->index(std::clamp(row, 0, count - 1), 0, rootIndex());
}

int TapeView::verticalOffset() const { return firstRow() * kRowHeight; }

QItemSelectionModel::SelectionFlags TapeView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    const auto command = QListView::selectionCommand(index, event);
    return command.testFlag(QItemSelectionModel::Deselect) || command.testFlag(QItemSelectionModel::Toggle)
        ? QItemSelectionModel::SelectionFlags(QItemSelectionModel::NoUpdate)
        : command;
}

void TapeView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int count = rows();
    const int top = std::max(0, firstRow() + rect.top() / kRowHeight);
    const int bottom = std::min(count - 1, firstRow() + rect.bottom() / kRowHeight);
    if (top > bottom || rect.bottom() < 0) {
        selectionModel()->select(QItemSelection(), command);
        return;
    }
    selectionModel()->select(
        QItemSelection(model()->index(top, 0, rootIndex()), model()->index(bottom, 0, rootIndex())), command);
}

QRegion TapeView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int first = firstRow(), last = first + rowsInSight();
    for (const QItemSelectionRange& range : selection) {
        const int top = std::max(range.top(), first), bottom = std::min(range.bottom(), last);
        if (top <= bottom) {
            region += QRect(0, (top - first) * kRowHeight, viewport()->width(), (bottom - top + 1) * kRowHeight);
        }
    }
    return region;
}

// The scroll bar counts lines, as a list box scrolls.
void TapeView::updateGeometries()
{
    const int inSight = rowsInSight();
    verticalScrollBar()->setRange(0, std::max(0, rows() - inSight));
    verticalScrollBar()->setPageStep(inSight);
    verticalScrollBar()->setSingleStep(1);
    QAbstractItemView::updateGeometries();
}

void TapeView::scrollContentsBy(int, int) { viewport()->update(); }

void TapeView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int first = firstRow(), last = std::min(rows() - 1, first + rowsInSight());
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        const QRect rect = visualRect(index);
        const bool selected = selectionModel()->isSelected(index);
        if (selected) {
            painter.fillRect(rect, palette().brush(QPalette::Highlight));
        }
        painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        // Columns of blanks and digits: left to right in any application.
        painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextForceLeftToRight,
            index.data().toString());
    }
    // On the current line, or where the first line goes while none is.
    if (hasFocus()) {
        const int row = currentIndex().isValid() ? currentIndex().row() : first;
        const bool selected = selectionModel()->isRowSelected(row, rootIndex());
        drawFocusCue(painter, {0, (row - first) * kRowHeight, viewport()->width(), kRowHeight},
            palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    }
}

void TapeView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    refresh();
}

// The list view's own row layout is skipped throughout: rows sit at fixed
// places, so nothing needs laying out.
void TapeView::doItemsLayout() { QAbstractItemView::doItemsLayout(); }

void TapeView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void TapeView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void TapeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
}

void TapeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
}

void TapeView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event);
    refresh();
}

void TapeView::refresh()
{
    updateGeometries();
    viewport()->update();
}

} // namespace ui
