#include "ui/keyboard/XkbLayout.h"

#include "ui/keyboard/KeymapSource.h"
#include "ui/platform/Platform.h"

#include <QCoreApplication>

#include <xkbcommon/xkbcommon.h>

namespace ui {

void XkbLayout::unref(xkb_context* context) { xkb_context_unref(context); }

XkbLayout& XkbLayout::ofApplication()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (auto* layout = application->findChild<XkbLayout*>(QString(), Qt::FindDirectChildrenOnly)) {
        return *layout;
    }
    // The application owns it: gone with the display connection it reads.
    return *new XkbLayout(application);
}

XkbLayout::XkbLayout(QObject* application) : QObject(application)
{
    context_.reset(xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES));
    if (!context_) {
        return;
    }
    switch (platform::displayServer()) {
    case platform::DisplayServer::X11: source_ = x11Keymap(context_.get()); break;
    case platform::DisplayServer::Wayland: source_ = waylandKeymap(context_.get()); break;
    case platform::DisplayServer::Other: break;
    }
}

XkbLayout::~XkbLayout() = default;

std::optional<LayoutKey> XkbLayout::describe(std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym)
{
    xkb_keymap* map = source_ ? source_->keymap() : nullptr;
    if (map == nullptr || !xkb_keycode_is_legal_x11(keycode) || xkb_keymap_num_layouts_for_key(map, keycode) == 0) {
        return std::nullopt;
    }
    return describeKey(map, keycode, source_->group(map, keycode, state, keysym));
}

} // namespace ui
