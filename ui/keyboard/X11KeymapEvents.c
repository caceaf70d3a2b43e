#include <xcb/xkb.h>

#include <stdint.h>

/* C, since xcb/xkb.h names a member `explicit`; declared in X11KeymapEvents.h. */
void qinghe_select_keymap_events(xcb_connection_t* connection, uint16_t device)
{
    const uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    /* The parts of the map whose change is worth a MapNotify: all of them
       that a keymap is made of. */
    const uint16_t parts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
        XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
        XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    /* affectWhich limits the change to these two kinds: whatever else the
       connection has selected (Qt's own state events) stays. */
    xcb_xkb_select_events(connection, device, events, 0, events, parts, parts, NULL);
    xcb_flush(connection);
}
