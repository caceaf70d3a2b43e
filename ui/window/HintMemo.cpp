#include "ui/window/HintMemo.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

#include <climits>
#include <cmath>

namespace ui {

namespace {

// More texts than the program has hints: a host showing texts of its own
// cannot make the memo hold every one it ever showed.
constexpr std::size_t kMostLayouts = 64;

} // namespace

HintMemo::HintMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(2);
    // A memo the program writes: no undo history growing with every hint.
    document()->setUndoRedoEnabled(false);
    // Text written any other way (setPlainText, a host's edit) is the
    // memo's to paint.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!writing_) {
            shown_.clear();
        }
    });
}

void HintMemo::showHint(const QString& hint)
{
    if (hint == shown_) {
        return;
    }
    // One edit: setPlainText would lay the text out a second time to put the
    // cursor back at the start. Here the new text goes in after the old,
    // which then goes, and a cursor at the start stays there through both.
    // Into the empty memo the first hint goes as setPlainText puts it.
    QTextDocument* memo = document();
    writing_ = true;
    if (memo->isEmpty()) {
        setPlainText(hint);
    } else {
        QTextCursor edit(memo);
        edit.beginEditBlock();
        // By position: moving to the end would lay the old text out.
        const int oldEnd = memo->characterCount() - 1;
        edit.setPosition(oldEnd);
        edit.insertText(hint);
        edit.setPosition(0);
        edit.setPosition(oldEnd, QTextCursor::KeepAnchor);
        edit.removeSelectedText();
        edit.endEditBlock();
        // A reader's click or selection went with the old text, as with
        // setPlainText.
        if (const QTextCursor own = textCursor(); own.hasSelection() || own.position() != 0) {
            setTextCursor(QTextCursor(memo));
        }
    }
    writing_ = false;
    shown_ = hint;
}

// The same steps the memo's document layout takes for a block, on a layout
// that keeps its glyphs.
const QTextLayout& HintMemo::layoutOf(const QString& text)
{
    const QTextDocument* memo = document();
    const qreal margin = memo->documentMargin();
    // The memo sets its document's text width to its viewport's.
    const qreal textWidth = viewport()->width();
    const qreal width = (textWidth <= 0 ? qreal(INT_MAX) : textWidth) - 2 * margin;
    if (width != layoutWidth_ || memo->defaultFont() != layoutFont_ || layouts_.size() >= kMostLayouts) {
        layouts_.clear();
        layoutWidth_ = width;
        layoutFont_ = memo->defaultFont();
    }
    auto& layout = layouts_[text];
    if (!layout) {
        layout = std::make_unique<QTextLayout>(text, layoutFont_);
        layout->setTextOption(memo->defaultTextOption());
        layout->setCacheEnabled(true);
        layout->beginLayout();
        qreal height = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            line.setPosition(QPointF(margin, height));
            height += line.height();
            if (line.leading() < 0) {
                height += std::ceil(line.leading());
            }
        }
        layout->endLayout();
    }
    return *layout;
}

void HintMemo::paintEvent(QPaintEvent* event)
{
    // A selection, or any text but the hint showHint wrote, is the memo's
    // to paint.
    const QTextDocument* memo = document();
    if (shown_.isEmpty() || memo->blockCount() != 1 || textCursor().hasSelection() || !extraSelections().isEmpty()) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    const QPointF offset = contentOffset();
    painter.setBrushOrigin(offset);
    // Clipped as the memo clips: the right margin stays clean.
    QRect clip = event->rect();
    const qreal widest = std::max(qreal(viewport()->width()), memo->documentLayout()->documentSize().width());
    clip.setRight(std::min(clip.right(), int(offset.x() + widest - memo->documentMargin() + cursorWidth())));
    painter.setClipRect(clip);
    painter.setPen(palette().text().color());
    layoutOf(shown_).draw(&painter, offset, {}, clip);
}

} // namespace ui
