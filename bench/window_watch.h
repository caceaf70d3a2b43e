#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace bench {

// A connection to `display`, whose server must have DAMAGE, with the first
// number of DAMAGE's events; X errors on it are ignored, as windows vanish
// between an event and a request about them. None, said on standard error,
// where the server cannot be reached or lacks DAMAGE.
struct DamageDisplay {
    Display* connection;
    int damageEventBase;
};
std::optional<DamageDisplay> openDamageDisplay(const std::string& display);

using Clock = std::chrono::steady_clock;

// Watches one X server for the top-level window of one process: when it is
// mapped and when it is first drawn on. Drawing is seen through the DAMAGE
// extension, which lets any client watch another client's window.
class WindowWatch {
public:
    static std::optional<WindowWatch> connect(const std::string& display);

    // From now on only the windows of `pid` count, or, for a program that
    // names no process on its window (Xt's do not), those whose WM_CLASS
    // class is `wmClass`.
    void follow(pid_t pid, std::string wmClass = {});
    // Handles events until the window is mapped and drawn on, or `deadline`.
    void waitForPaint(Clock::time_point deadline);

    std::optional<Clock::time_point> mapped() const { return mapped_; }
    std::optional<Clock::time_point> painted() const { return painted_; }
    std::optional<Window> window() const { return ours_; }

private:
    struct DisplayCloser {
        void operator()(Display* d) const { XCloseDisplay(d); }
    };
    // Seen on a top-level window, by the time its event was read.
    struct Seen {
        Damage damage = None;
        std::optional<Clock::time_point> mapped;
        std::optional<Clock::time_point> drawn;
        bool checked = false;
    };

    WindowWatch(Display* display, int damageEventBase);
    void readEvents();
    void handle(const XEvent& event, Clock::time_point now);
    void watch(Window window);
    void forget(Window window);
    void findOurs();
    std::optional<pid_t> pidOf(Window window);
    bool isOurs(Window window);

    std::unique_ptr<Display, DisplayCloser> display_;
    int damageEventBase_ = 0;
    Atom wmPid_ = None;
    pid_t pid_ = 0;
    std::string wmClass_;
    std::map<Window, Seen> windows_;
    std::optional<Window> ours_;
    std::optional<Clock::time_point> mapped_;
    std::optional<Clock::time_point> painted_;
};

} // namespace bench
