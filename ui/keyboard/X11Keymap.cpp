#include "calc/CFree.h"
#include "ui/keyboard/KeymapSource.h"
#include "ui/keyboard/X11KeymapEvents.h"
#include "ui/platform/X11Window.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace ui {

namespace {

// The XKB protocol's event kinds that replace the keymap; the kind is the
// second byte of every XKB event.
constexpr std::uint8_t kNewKeyboardNotify = 0;
constexpr std::uint8_t kMapNotify = 1;

// The core event state holds the XKB layout group in bits 13 and 14.
constexpr std::uint32_t coreGroup(std::uint32_t state) { return (state >> 13) & 3U; }

class X11Keymap : public KeymapSource, public QAbstractNativeEventFilter {
public:
    X11Keymap(xkb_context* context, xcb_connection_t* connection, std::int32_t device, std::uint8_t xkbEvent)
        : context_(context)
        , connection_(connection)
        , device_(device)
        , xkbEvent_(xkbEvent)
    {
        qinghe_select_keymap_events(connection_, static_cast<std::uint16_t>(device_));
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    xkb_keymap* keymap() override
    {
        if (!keymap_) {
            keymap_.reset(xkb_x11_keymap_new_from_device(context_, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS));
        }
        return keymap_.get();
    }

    std::uint32_t group(xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t state, std::uint32_t) override
    {
        return coreGroup(state) % xkb_keymap_num_layouts_for_key(keymap, keycode);
    }

    // The keymap is read again at the next key after the server says it
    // changed.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType == "xcb_generic_event_t") {
            const auto* event = static_cast<const xcb_generic_event_t*>(message);
            if ((event->response_type & 0x7F) == xkbEvent_ &&
                (event->pad0 == kNewKeyboardNotify || event->pad0 == kMapNotify)) {
                keymap_.reset();
            }
        }
        return false;
    }

private:
    xkb_context* context_;
    xcb_connection_t* connection_;
    std::int32_t device_;
    std::uint8_t xkbEvent_;
    calc::CHandle<xkb_keymap, &xkb_keymap_unref> keymap_;
};

} // namespace

std::unique_ptr<KeymapSource> x11Keymap(xkb_context* context)
{
    xcb_connection_t* connection = x11::connection();
    std::uint8_t eventBase = 0;
    if (connection == nullptr ||
        xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &eventBase, nullptr) == 0) {
        return nullptr;
    }
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0) {
        return nullptr;
    }
    return std::make_unique<X11Keymap>(context, connection, device, eventBase);
}

} // namespace ui
