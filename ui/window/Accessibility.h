#pragma once

class QAbstractItemView;

// What the window tells assistive technology beyond what Qt's widgets tell
// by themselves: the captions of the display panels as text (each panel
// tells of its own changes, ui/window/PanelLabel.h), and the tape line that a key
// has just marked.
namespace ui::accessibility {

// Gives every PanelLabel an interface that exposes its caption as text.
// Any number of calls install it once.
void install();

// `row` of a list view has become its selected and current line, -1 for
// none: readers hear the line, whether or not the view has the focus.
void lineMarked(QAbstractItemView* view, int row);

} // namespace ui::accessibility
