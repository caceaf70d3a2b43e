#include "bench/window_watch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <vector>

namespace bench {

namespace {

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

} // namespace

std::optional<DamageDisplay> openDamageDisplay(const std::string& display)
{
    Display* connection = XOpenDisplay(display.c_str());
    if (connection == nullptr) {
        std::fprintf(stderr, "cannot connect to %s\n", display.c_str());
        return std::nullopt;
    }
    int eventBase = 0, errorBase = 0;
    if (!XDamageQueryExtension(connection, &eventBase, &errorBase)) {
        XCloseDisplay(connection);
        std::fprintf(stderr, "%s has no DAMAGE extension\n", display.c_str());
        return std::nullopt;
    }
    int major = 0, minor = 0;
    XDamageQueryVersion(connection, &major, &minor);
    XSetErrorHandler(ignoreErrors);
    return DamageDisplay{connection, eventBase};
}

std::optional<WindowWatch> WindowWatch::connect(const std::string& display)
{
    const auto opened = openDamageDisplay(display);
    if (!opened) {
        return std::nullopt;
    }
    return WindowWatch(opened->connection, opened->damageEventBase);
}

WindowWatch::WindowWatch(Display* display, int damageEventBase)
    : display_(display)
    , damageEventBase_(damageEventBase)
    , wmPid_(XInternAtom(display, "_NET_WM_PID", False))
{
    // Without a window manager, top-level maps are reported on the root;
    // with one, on the window itself (selected in watch()).
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
}

void WindowWatch::follow(pid_t pid, std::string wmClass)
{
    for (const auto& [window, seen] : windows_) {
        if (seen.damage != None) {
            XDamageDestroy(display_.get(), seen.damage);
        }
    }
    windows_.clear();
    XSync(display_.get(), False);
    pid_ = pid;
    wmClass_ = std::move(wmClass);
    ours_.reset();
    mapped_.reset();
    painted_.reset();
}

void WindowWatch::waitForPaint(Clock::time_point deadline)
{
    while (!painted_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        if (XPending(display_.get()) == 0) {
            pollfd p{ConnectionNumber(display_.get()), POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left)) <= 0) {
                continue;
            }
        }
        readEvents();
        findOurs();
    }
}

// Each event is stamped when we take it; everything here is local, so an
// event waits at most for the others of its batch.
void WindowWatch::readEvents()
{
    while (XPending(display_.get()) > 0) {
        XEvent event;
        XNextEvent(display_.get(), &event);
        handle(event, Clock::now());
    }
}

void WindowWatch::handle(const XEvent& event, Clock::time_point now)
{
    if (event.type == damageEventBase_ + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (const auto at = windows_.find(damage.drawable); at != windows_.end() && !at->second.drawn) {
            at->second.drawn = now;
        }
        return;
    }
    switch (event.type) {
    case CreateNotify:
        if (event.xcreatewindow.parent == DefaultRootWindow(display_.get())) {
            watch(event.xcreatewindow.window);
        }
        break;
    case MapNotify:
        if (const auto at = windows_.find(event.xmap.window); at != windows_.end() && !at->second.mapped) {
            at->second.mapped = now;
        }
        break;
    case DestroyNotify: forget(event.xdestroywindow.window); break;
    default: break;
    }
}

// A window is watched from its creation, long before the program can draw
// on it, so no first paint is missed.
void WindowWatch::watch(Window window)
{
    Seen& seen = windows_[window];
    if (seen.damage == None) {
        seen.damage = XDamageCreate(display_.get(), window, XDamageReportNonEmpty);
    }
    XSelectInput(display_.get(), window, StructureNotifyMask);
}

// The server frees the damage object with its window.
void WindowWatch::forget(Window window) { windows_.erase(window); }

void WindowWatch::findOurs()
{
    if (!ours_) {
        for (auto& [window, seen] : windows_) {
            if (!seen.mapped || seen.checked) {
                continue;
            }
            seen.checked = true;
            if (isOurs(window)) {
                ours_ = window;
                break;
            }
        }
    }
    if (!ours_) {
        return;
    }
    const auto at = windows_.find(*ours_);
    if (at == windows_.end()) {
        return;
    }
    mapped_ = at->second.mapped;
    painted_ = at->second.drawn;
}

bool WindowWatch::isOurs(Window window)
{
    if (const auto pid = pidOf(window)) {
        return *pid == pid_;
    }
    if (wmClass_.empty()) {
        return false;
    }
    XClassHint hint{};
    if (XGetClassHint(display_.get(), window, &hint) == 0) {
        return false;
    }
    const bool same = hint.res_class != nullptr && wmClass_ == hint.res_class;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return same;
}

std::optional<pid_t> WindowWatch::pidOf(Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_.get(), window, wmPid_, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
            &data) != Success) {
        return std::nullopt;
    }
    const std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
    if (type != XA_CARDINAL || format != 32 || count != 1) {
        return std::nullopt;
    }
    // Xlib hands 32-bit properties over as longs.
    return static_cast<pid_t>(*reinterpret_cast<const long*>(data));
}

} // namespace bench
