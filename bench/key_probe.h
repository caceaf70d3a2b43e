#pragma once

#include "bench/window_watch.h"

#include <X11/Xlib.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace bench {

// Presses keys on other programs' windows and times them against the
// windows' repaints, as a user sees them: XTEST makes the press look like
// the keyboard's, DAMAGE reports the first drawing it causes.
class KeyProbe {
public:
    using Duration = std::chrono::duration<double, std::milli>;

    // Returns nothing, after saying why on stderr, when the server lacks
    // DAMAGE or XTEST.
    static std::optional<KeyProbe> connect(const std::string& display);

    // From now on the drawing on `window` (and its children) is watched.
    // A window watched before and since destroyed may share its number.
    void watch(Window window);
    // Moves a top-level window; with no window manager the server does it.
    void move(Window window, int x, int y);
    int width(Window window);
    // Parks the pointer on a corner no window covers, so no hover effect
    // draws while keys are timed.
    void parkPointer();
    // Gives `window` the keyboard: keys then reach it, or its child under the
    // pointer, as they would after a click.
    void focus(Window window);
    // Waits until nothing has been drawn on `window` for `still`. False when
    // it kept drawing until `deadline`.
    bool waitStill(Window window, Duration still, Clock::time_point deadline);
    // Presses the key for `keysym` once `window` has been still for `still`,
    // and returns the time from the press to the first drawing on the
    // window; releases the key once that drawing came (or the deadline
    // passed). Nothing when the window was not still or drew nothing in time.
    std::optional<Duration> timePress(Window window, unsigned long keysym, Duration still, Clock::time_point deadline);
    enum class Press { Settled, DrewNothing, KeptDrawing };
    // Presses and releases the key without timing it, then waits until the
    // window has drawn and is still again.
    Press press(Window window, unsigned long keysym, Duration still, Clock::time_point deadline);

private:
    struct DisplayCloser {
        void operator()(Display* d) const { XCloseDisplay(d); }
    };

    KeyProbe(Display* display, int damageEventBase);
    void sendKey(unsigned long keysym, bool down);
    // Forgets what was drawn so far on `window`: from now on a new drawing
    // sends a new event.
    void clearDamage(Window window);
    // Waits for a drawing on `window` until `deadline`; returns when it was
    // read.
    std::optional<Clock::time_point> nextDrawing(Window window, Clock::time_point deadline);

    std::unique_ptr<Display, DisplayCloser> display_;
    int damageEventBase_ = 0;
    std::map<Window, Damage> damage_;
    // A signal ended a wait: the benchmark is being stopped, and no wait
    // starts any more.
    bool interrupted_ = false;
};

} // namespace bench
