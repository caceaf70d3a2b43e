#include "ui/XkbLayout.h"

#include "ui/Platform.h"
#include "ui/X11Window.h"

#include <QGuiApplication>

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
constexpr std::uint32_t groupOf(std::uint32_t state) { return (state >> 13) & 3U; }

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

void XkbLayout::watchWayland()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    auto* wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>();
    wl_seat* seat = wayland != nullptr ? wayland->seat() : nullptr;
    if (seat == nullptr) {
        return;
    }
    static constexpr wl_keyboard_listener kListener{
        .keymap = &XkbLayout::keymapSent,
        .enter = [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
        .leave = [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
        .key = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        .modifiers = &XkbLayout::modifiersSent,
        .repeat_info = [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };
    // Qt reads events on this connection's default queue, so the
    // compositor's answers reach the listener on the window's thread.
    waylandKeyboard_.reset(wl_seat_get_keyboard(seat));
    wl_keyboard_add_listener(waylandKeyboard_.get(), &kListener, this);
#endif
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

std::optional<LayoutKey> XkbLayout::describe(std::uint32_t keycode, std::uint32_t state)
{
    xkb_keymap* map = keymap();
    if (map == nullptr || !xkb_keycode_is_legal_x11(keycode) || xkb_keymap_num_layouts_for_key(map, keycode) == 0) {
        return std::nullopt;
    }
    // Past the key's last group the key wraps round, as the server counts.
    const xkb_layout_index_t group =
        waylandGroup_.value_or(groupOf(state)) % xkb_keymap_num_layouts_for_key(map, keycode);
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
