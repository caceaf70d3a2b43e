#pragma once

class QAccessibleInterface;

// AT-SPI events that Qt's bridge on Linux does not send for a Qt event:
// it drops QAccessible::ActiveDescendantChanged, and Qt 6.4 turns a
// selection event into the item's "selected" state change alone, without
// the container's selection-changed that readers also listen to. These
// functions send them on the bridge's own connection to the accessibility
// bus, so that they come from the same application as the objects they
// name; without that connection (no bus, no reader) they do nothing.
namespace ui::atspi {

// object:active-descendant-changed on `container`, naming `child`, its
// child number `index`.
void activeDescendantChanged(QAccessibleInterface* container, QAccessibleInterface* child, int index);

// object:selection-changed on `container`.
void selectionChanged(QAccessibleInterface* container);

} // namespace ui::atspi
