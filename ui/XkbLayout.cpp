#include "ui/XkbLayout.h"

#include "ui/Platform.h"
#include "ui/X11Window.h"

#include <QGuiApplication>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace ui {

namespace {

// The XKB protocol's event kinds that replace the keymap; the kind is the
// second byte of every XKB event.
constexpr std::uint8_t kNewKeyboardNotify = 0;
constexpr std::uint8_t kMapNotify = 1;

// The core event state holds the XKB layout group in bits 13 and 14.
constexpr std::uint32_t coreGroup(std::uint32_t state) { return (state >> 13) & 3U; }

struct KeyPlace {
    std::string_view name;
    char character;
};

// XKB's names for the places of the digit row and the letters of a US
// keyboard.
constexpr auto kDigitRow = std::to_array<KeyPlace>({
    {"AE01", '1'},
    {"AE02", '2'},
    {"AE03", '3'},
    {"AE04", '4'},
    {"AE05", '5'},
    {"AE06", '6'},
    {"AE07", '7'},
    {"AE08", '8'},
    {"AE09", '9'},
    {"AE10", '0'},
});

constexpr auto kUsLetters = std::to_array<KeyPlace>({
    {"AD01", 'Q'},
    {"AD02", 'W'},
    {"AD03", 'E'},
    {"AD04", 'R'},
    {"AD05", 'T'},
    {"AD06", 'Y'},
    {"AD07", 'U'},
    {"AD08", 'I'},
    {"AD09", 'O'},
    {"AD10", 'P'},
    {"AC01", 'A'},
    {"AC02", 'S'},
    {"AC03", 'D'},
    {"AC04", 'F'},
    {"AC05", 'G'},
    {"AC06", 'H'},
    {"AC07", 'J'},
    {"AC08", 'K'},
    {"AC09", 'L'},
    {"AB01", 'Z'},
    {"AB02", 'X'},
    {"AB03", 'C'},
    {"AB04", 'V'},
    {"AB05", 'B'},
    {"AB06", 'N'},
    {"AB07", 'M'},
});

char at(const auto& places, const char* name)
{
    if (name == nullptr) {
        return 0;
    }
    const auto* place = std::find_if(
        places.begin(), places.end(), [name](const KeyPlace& row) { return row.name == std::string_view(name); });
    return place == places.end() ? 0 : place->character;
}

bool onKeypad(xkb_keysym_t sym) { return sym >= XKB_KEY_KP_Space && sym <= XKB_KEY_KP_Equal; }

// The first keysym of `key` at `level` of `group`; NoSymbol where none.
xkb_keysym_t symAt(xkb_keymap* keymap, xkb_keycode_t key, xkb_layout_index_t group, xkb_level_index_t level)
{
    const xkb_keysym_t* syms = nullptr;
    return xkb_keymap_key_get_syms_by_level(keymap, key, group, level, &syms) > 0 ? syms[0] : XKB_KEY_NoSymbol;
}

// The level `key` types at with exactly the modifiers `mask` down: 0 with
// none, usually 1 with Shift.
std::optional<xkb_level_index_t> levelFor(
    xkb_keymap* keymap, xkb_keycode_t key, xkb_layout_index_t group, xkb_mod_mask_t mask)
{
    const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, key, group);
    for (xkb_level_index_t level = 0; level < levels; ++level) {
        std::array<xkb_mod_mask_t, 16> masks{};
        const std::size_t count =
            xkb_keymap_key_get_mods_for_level(keymap, key, group, level, masks.data(), masks.size());
        if (std::find(masks.begin(), masks.begin() + static_cast<std::ptrdiff_t>(count), mask) !=
            masks.begin() + static_cast<std::ptrdiff_t>(count)) {
            return level;
        }
    }
    return std::nullopt;
}

// The printable character of `sym`; 0 for control characters and none.
char32_t printable(xkb_keysym_t sym)
{
    const char32_t character = xkb_keysym_to_utf32(sym);
    return character < 0x20 || character == 0x7F ? 0 : character;
}

char latinLetter(char32_t character)
{
    if (character >= U'a' && character <= U'z') {
        return static_cast<char>(character - U'a' + 'A');
    }
    if (character >= U'A' && character <= U'Z') {
        return static_cast<char>(character);
    }
    return 0;
}

} // namespace

void XkbLayout::ContextFree::operator()(xkb_context* context) const { xkb_context_unref(context); }
void XkbLayout::KeymapFree::operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }

XkbLayout::XkbLayout()
{
    context_.reset(xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES));
    if (!context_) {
        return;
    }
    switch (platform::displayServer()) {
    case platform::DisplayServer::X11: watchX11(); break;
    case platform::DisplayServer::Wayland: watchWayland(); break;
    case platform::DisplayServer::Other: break;
    }
}

XkbLayout::~XkbLayout() = default;

void XkbLayout::watchX11()
{
    xcb_connection_t* connection = x11::connection();
    std::uint8_t eventBase = 0;
    if (connection == nullptr ||
        xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &eventBase, nullptr) == 0) {
        return;
    }
    device_ = xkb_x11_get_core_keyboard_device_id(connection);
    xkbEvent_ = eventBase;
    // Qt's own keyboard asks the server for the events that change the
    // keymap; this filter sees them go by.
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool XkbLayout::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == xkbEvent_ &&
        (event->pad0 == kNewKeyboardNotify || event->pad0 == kMapNotify)) {
        forgetKeymap();
    }
    return false;
}

void XkbLayout::KeyboardRelease::operator()(wl_keyboard* keyboard) const
{
    if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
        wl_keyboard_release(keyboard);
    } else {
        wl_keyboard_destroy(keyboard);
    }
}

namespace {

constexpr wl_keyboard_listener keyboardListener(
    void (*keymap)(void*, wl_keyboard*, std::uint32_t, std::int32_t, std::uint32_t),
    void (*modifiers)(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t))
{
    return {
        .keymap = keymap,
        .enter = [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
        .leave = [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
        .key = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        .modifiers = modifiers,
        .repeat_info = [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };
}

} // namespace

void XkbLayout::DisplayDisconnect::operator()(wl_display* display) const { wl_display_disconnect(display); }

void XkbLayout::SeatRelease::operator()(wl_seat* seat) const
{
    if (wl_seat_get_version(seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
        wl_seat_release(seat);
    } else {
        wl_seat_destroy(seat);
    }
}

void XkbLayout::watchWayland()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // A keyboard of the window's own on Qt's seat: the compositor sends it
    // the keymap and, while the window has the focus, the layout group. Qt
    // reads events on this connection's default queue, so they reach the
    // listener on the window's thread.
    auto* wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>();
    wl_seat* seat = wayland != nullptr ? wayland->seat() : nullptr;
    if (seat == nullptr) {
        return;
    }
    static constexpr wl_keyboard_listener kListener =
        keyboardListener(&XkbLayout::keymapSent, &XkbLayout::modifiersSent);
    waylandKeyboard_.reset(wl_seat_get_keyboard(seat));
    wl_keyboard_add_listener(waylandKeyboard_.get(), &kListener, this);
#else
    // Qt names none of its Wayland objects: a connection of the window's own
    // to the compositor, whose keyboard is sent the keymap though it never
    // has the focus. The group then comes from the character Qt reports.
    ownDisplay_.reset(wl_display_connect(nullptr));
    if (!ownDisplay_) {
        return;
    }
    static constexpr wl_registry_listener kRegistry{
        .global =
            [](void* layout, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
                auto* self = static_cast<XkbLayout*>(layout);
                if (!self->ownSeat_ && std::string_view(interface) == wl_seat_interface.name) {
                    self->ownSeat_.reset(static_cast<wl_seat*>(
                        wl_registry_bind(registry, name, &wl_seat_interface, std::min<std::uint32_t>(version, 5))));
                }
            },
        .global_remove = [](void*, wl_registry*, std::uint32_t) {},
    };
    static constexpr wl_seat_listener kSeat{
        .capabilities =
            [](void* layout, wl_seat* seat, std::uint32_t capabilities) {
                auto* self = static_cast<XkbLayout*>(layout);
                if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && !self->waylandKeyboard_) {
                    static constexpr wl_keyboard_listener kKeyboard = keyboardListener(&XkbLayout::keymapSent,
                        [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                            std::uint32_t) {});
                    self->waylandKeyboard_.reset(wl_seat_get_keyboard(seat));
                    wl_keyboard_add_listener(self->waylandKeyboard_.get(), &kKeyboard, self);
                }
            },
        .name = [](void*, wl_seat*, const char*) {},
    };
    wl_registry* registry = wl_display_get_registry(ownDisplay_.get());
    wl_registry_add_listener(registry, &kRegistry, this);
    wl_display_roundtrip(ownDisplay_.get()); // the seat
    wl_registry_destroy(registry);
    if (ownSeat_) {
        wl_seat_add_listener(ownSeat_.get(), &kSeat, this);
        wl_display_roundtrip(ownDisplay_.get()); // its keyboard
        wl_display_roundtrip(ownDisplay_.get()); // the keymap
    }
#endif
}

void XkbLayout::readOwnDisplay()
{
    wl_display* display = ownDisplay_.get();
    if (display == nullptr) {
        return;
    }
    // Whatever the compositor has sent (a new keymap), without waiting.
    while (wl_display_prepare_read(display) != 0) {
        wl_display_dispatch_pending(display);
    }
    wl_display_flush(display);
    pollfd ready{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&ready, 1, 0) > 0) {
        wl_display_read_events(display);
    } else {
        wl_display_cancel_read(display);
    }
    wl_display_dispatch_pending(display);
}

void XkbLayout::keymapSent(void* layout, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size)
{
    auto* self = static_cast<XkbLayout*>(layout);
    self->forgetKeymap();
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 1) {
        // Mapped private, as the protocol asks from version 7 on.
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            // The text ends with a NUL the buffer is not to hold.
            self->keymap_.reset(xkb_keymap_new_from_buffer(self->context_.get(), static_cast<const char*>(text),
                size - 1, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
            munmap(text, size);
        }
    }
    close(fd);
}

void XkbLayout::modifiersSent(
    void* layout, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t group)
{
    static_cast<XkbLayout*>(layout)->waylandGroup_ = group;
}

void XkbLayout::forgetKeymap()
{
    keymap_.reset();
    latinGroups_.clear();
}

xkb_keymap* XkbLayout::keymap()
{
    if (!keymap_ && context_ && device_ >= 0) {
        keymap_.reset(
            xkb_x11_keymap_new_from_device(context_.get(), x11::connection(), device_, XKB_KEYMAP_COMPILE_NO_FLAGS));
    }
    return keymap_.get();
}

bool XkbLayout::hasLatinLetters(std::uint32_t group)
{
    xkb_keymap* map = keymap();
    latinGroups_.resize(std::max<std::size_t>(latinGroups_.size(), group + 1));
    if (!latinGroups_[group]) {
        bool found = false;
        for (xkb_keycode_t key = xkb_keymap_min_keycode(map); key <= xkb_keymap_max_keycode(map) && !found; ++key) {
            found = latinLetter(printable(symAt(map, key, group, 0))) != 0;
        }
        latinGroups_[group] = found;
    }
    return *latinGroups_[group];
}

xkb_layout_index_t XkbLayout::groupOf(
    xkb_keymap* map, std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym) const
{
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(map, keycode);
    if (device_ >= 0 || waylandGroup_) {
        // Past the key's last group the key wraps round, as the server counts.
        return (device_ >= 0 ? coreGroup(state) : *waylandGroup_) % groups;
    }
    // Told no group: the first whose levels hold what the key typed.
    for (xkb_layout_index_t group = 0; group < groups; ++group) {
        for (xkb_level_index_t level = 0; level < xkb_keymap_num_levels_for_key(map, keycode, group); ++level) {
            if (symAt(map, keycode, group, level) == keysym) {
                return group;
            }
        }
    }
    return 0;
}

std::optional<LayoutKey> XkbLayout::describe(std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym)
{
    readOwnDisplay();
    xkb_keymap* map = keymap();
    if (map == nullptr || !xkb_keycode_is_legal_x11(keycode) || xkb_keymap_num_layouts_for_key(map, keycode) == 0) {
        return std::nullopt;
    }
    const xkb_layout_index_t group = groupOf(map, keycode, state, keysym);
    const xkb_mod_index_t shiftIndex = xkb_keymap_mod_get_index(map, XKB_MOD_NAME_SHIFT);
    const auto base = levelFor(map, keycode, group, 0);
    const auto shifted = levelFor(map, keycode, group, xkb_mod_mask_t{1} << shiftIndex);
    const xkb_keysym_t baseSym = base ? symAt(map, keycode, group, *base) : XKB_KEY_NoSymbol;
    const xkb_keysym_t shiftedSym = shifted ? symAt(map, keycode, group, *shifted) : XKB_KEY_NoSymbol;
    LayoutKey key{std::nullopt, printable(baseSym), printable(shiftedSym), 0};
    if (onKeypad(baseSym) || onKeypad(shiftedSym) || (key.unshifted == 0 && key.shifted == 0)) {
        return std::nullopt;
    }
    const char* name = xkb_keymap_key_get_name(map, keycode);
    if (const char digit = at(kDigitRow, name)) {
        key.digit = digit - '0';
    }
    key.letter = latinLetter(key.unshifted) != 0 ? latinLetter(key.unshifted) : latinLetter(key.shifted);
    if (key.letter == 0 && !hasLatinLetters(group)) {
        key.letter = at(kUsLetters, name);
    }
    return key;
}

} // namespace ui
