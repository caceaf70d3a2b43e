#pragma once

#include <array>
#include <string_view>

namespace app {

// Where Qt reads an option: every platform, or only the X11 one (xcb),
// which leaves it in the arguments elsewhere.
enum class QtOptionScope { Everywhere, X11 };

struct QtOption {
    std::string_view name; // as Qt spells it; "--name" is read alike
    bool takesValue; // "-name VALUE"
    bool joinedValue; // also "-name=VALUE"
    QtOptionScope scope;
};

// The options that QApplication and its platform plugins take out of the
// arguments, the same in Qt 6.4 and 6.8 (QCoreApplication, QGuiApplication,
// QApplication and the xcb plugin; -psn_ is macOS's alone). Anything else
// that starts with '-' is not Qt's.
inline constexpr std::array kQtOptions{
    QtOption{"-platform", true, false, QtOptionScope::Everywhere},
    QtOption{"-platformpluginpath", true, false, QtOptionScope::Everywhere},
    QtOption{"-platformtheme", true, false, QtOptionScope::Everywhere},
    QtOption{"-plugin", true, false, QtOptionScope::Everywhere},
    QtOption{"-qwindowgeometry", true, false, QtOptionScope::Everywhere},
    QtOption{"-qwindowicon", true, false, QtOptionScope::Everywhere},
    QtOption{"-qwindowtitle", true, false, QtOptionScope::Everywhere},
    QtOption{"-reverse", false, false, QtOptionScope::Everywhere},
    QtOption{"-session", true, false, QtOptionScope::Everywhere},
    QtOption{"-style", true, true, QtOptionScope::Everywhere},
    QtOption{"-stylesheet", true, true, QtOptionScope::Everywhere},
    QtOption{"-widgetcount", false, false, QtOptionScope::Everywhere},
    // Read and ignored, as QApplication has done since it stopped acting on them.
    QtOption{"-qdevel", false, false, QtOptionScope::Everywhere},
    QtOption{"-qdebug", false, false, QtOptionScope::Everywhere},
    QtOption{"-qmljsdebugger", true, true, QtOptionScope::Everywhere},
    QtOption{"-testability", false, false, QtOptionScope::Everywhere},
    QtOption{"-display", true, false, QtOptionScope::X11},
    QtOption{"-geometry", true, false, QtOptionScope::X11},
    QtOption{"-title", true, false, QtOptionScope::X11},
    QtOption{"-icon", true, false, QtOptionScope::X11},
    QtOption{"-name", true, false, QtOptionScope::X11},
    QtOption{"-visual", true, false, QtOptionScope::X11},
    QtOption{"-nograb", false, false, QtOptionScope::X11},
    QtOption{"-dograb", false, false, QtOptionScope::X11},
};

} // namespace app
