#pragma once

#include <cstdint>

struct xcb_connection_t;

// xcb's XKB header cannot be read as C++ (a member is named `explicit`), so
// the one request the program needs from it is made in C.
extern "C" {

// Asks the X server to send this connection XKB's NewKeyboardNotify and
// MapNotify events for keyboard `device`: the keymap changed. The events
// the connection already receives stay selected.
void qinghe_select_keymap_events(xcb_connection_t* connection, std::uint16_t device);
}
