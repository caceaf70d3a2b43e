#include "ui/window/Accessibility.h"

#include "ui/platform/AtSpiEvents.h"
#include "ui/window/PanelLabel.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QStyle>

#include <algorithm>

namespace ui::accessibility {

namespace {

// A display panel as a reader sees it: a label named after what it shows
// ("结果编辑区"), whose caption ("42.") is its text. The caption cannot be
// selected, edited or scrolled, so those requests are declined.
class PanelText : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PanelText(PanelLabel* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override { return QAccessibleWidget::text(kind); }

    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}

    // text(0, -1) is the whole caption.
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = caption();
        const auto count = static_cast<int>(all.size());
        const int end = endOffset < 0 || endOffset > count ? count : endOffset;
        const int start = std::clamp(startOffset, 0, end);
        return all.mid(start, end - start);
    }

    int characterCount() const override { return static_cast<int>(caption().size()); }

    // In screen coordinates, where the panel draws the character.
    QRect characterRect(int offset) const override
    {
        const QString all = caption();
        if (offset < 0 || offset >= all.size()) {
            return {};
        }
        const QFontMetrics metrics(panel()->font());
        const QRect line = textBox(metrics);
        const int left = line.left() + metrics.horizontalAdvance(all.left(offset));
        const QRect local(left, line.top(), metrics.horizontalAdvance(all.at(offset)), line.height());
        return {panel()->mapToGlobal(local.topLeft()), local.size()};
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset) {
            if (characterRect(offset).contains(point)) {
                return offset;
            }
        }
        return -1;
    }

    // One run without attributes over the whole caption.
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    PanelLabel* panel() const { return static_cast<PanelLabel*>(widget()); }
    QString caption() const { return panel()->text(); }

    // The caption's line inside the border, placed by the panel's alignment.
    QRect textBox(const QFontMetrics& metrics) const
    {
        const QSize size(metrics.horizontalAdvance(caption()), metrics.height());
        return QStyle::alignedRect(panel()->layoutDirection(), panel()->alignment(), size, panel()->contentsRect());
    }
};

QAccessibleInterface* createInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String(PanelLabel::staticMetaObject.className())) {
        return new PanelText(static_cast<PanelLabel*>(object));
    }
    return nullptr;
}

void notify(QAbstractItemView* view, QAccessible::Event type, int row)
{
    QAccessibleEvent event(view, type);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void install() { QAccessible::installFactory(createInterface); }

void lineMarked(QAbstractItemView* view, int row)
{
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
    if (row >= 0) {
        notify(view, QAccessible::Selection, row);
    }
    atspi::selectionChanged(list);
    if (row < 0 || !list) {
        return;
    }
    // For bridges that take it; the AT-SPI one drops it, hence the bus too.
    notify(view, QAccessible::ActiveDescendantChanged, row);
    atspi::activeDescendantChanged(list, list->child(row), row);
    // As a list view tells of its current line while it has the focus; the
    // bridge turns this into the line's focus.
    if (view->hasFocus()) {
        notify(view, QAccessible::Focus, row);
    }
}

} // namespace ui::accessibility
