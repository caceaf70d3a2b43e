#pragma once

#include <QListView>

namespace ui {

// The tape's list box: one 12-pixel row per line, single selection, scrolled
// by whole lines. A QListView lays out every row again on each insertion;
// this one bypasses that layout, places row r at r * 12 and paints only the
// rows in sight, so a key press costs the same with ten lines or a million.
//
// It is a QListView for what assistive technology knows of it: Qt gives each
// QListView its accessible list, one item per line, with the Table and
// Selection interfaces a reader walks. QListView's own row layout is skipped
// on purpose: every override below that replaces QListView's or calls
// QAbstractItemView's in its place says so.
class TapeView : public QListView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 12;

    explicit TapeView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Skipped: QListView's geometry, from its layout.
    QRect visualRect(const QModelIndex& index) const override;
    // Skipped: QListView's scrolling by pixels.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // Skipped: QListView's hit test on its layout.
    QModelIndex indexAt(const QPoint& point) const override;
    // Matching typed text would read every line; the tape has no use for it.
    void keyboardSearch(const QString&) override {}
    // Skipped: QListView's clearing of its layout.
    void reset() override;
    // Skipped: QListView's layout of every row.
    void doItemsLayout() override;

protected:
    // Skipped: QListView's moves through its layout.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    // Skipped: no horizontal scrolling.
    int horizontalOffset() const override { return 0; }
    // Skipped: whole lines, not QListView's pixels.
    int verticalOffset() const override;
    // Skipped: no line of the tape is ever hidden.
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    // A single line is always selected once one is: Ctrl+click and
    // Ctrl+Space, which would deselect it, leave it as it is.
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    // Skipped: QListView's selection by layout rectangles.
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    // Skipped: as visualRect.
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    // Skipped: the scroll bar counts lines, QListView's counts pixels.
    void updateGeometries() override;
    // Skipped: rows are painted at their places; nothing to move.
    void scrollContentsBy(int dx, int dy) override;
    // Skipped: only the rows in sight are painted.
    void paintEvent(QPaintEvent* event) override;
    // Skipped in these four: QListView's bookkeeping of its layout.
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(
        const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles = QList<int>()) override;
    void resizeEvent(QResizeEvent* event) override;
    // Skipped: QListView tells assistive technology of the line it finds in
    // its layout, which is never built here, so it would name the list
    // instead. The window tells of the line a key marks (ui/window/Accessibility.h).
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    int rows() const;
    int firstRow() const;
    int rowsInSight() const;
    void refresh();
};

} // namespace ui
