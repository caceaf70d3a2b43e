#pragma once

#include <QListView>

namespace ui {

// The tape's list box: one 12-pixel row per line, single selection, scrolled
// by whole lines. A QListView lays out every row again on each insertion;
// this one bypasses that layout, places row r at r * 12 and paints only the
// rows in sight, so a key press costs the same with ten lines or a million.
class TapeView : public QListView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 12;

    explicit TapeView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    // Matching typed text would read every line; the tape has no use for it.
    void keyboardSearch(const QString&) override {}
    void reset() override;
    void doItemsLayout() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(
        const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles = QList<int>()) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int rows() const;
    int firstRow() const;
    int rowsInSight() const;
    void refresh();
};

} // namespace ui
