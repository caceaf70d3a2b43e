#include "bench/key_probe.h"

#include "bench/window_watch.h"

#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <cerrno>
#include <cstdio>

namespace bench {

std::optional<KeyProbe> KeyProbe::connect(const std::string& display)
{
    const auto opened = openDamageDisplay(display);
    if (!opened) {
        return std::nullopt;
    }
    int testEvent = 0, testError = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(opened->connection, &testEvent, &testError, &major, &minor)) {
        XCloseDisplay(opened->connection);
        std::fprintf(stderr, "%s has no XTEST extension\n", display.c_str());
        return std::nullopt;
    }
    return KeyProbe(opened->connection, opened->damageEventBase);
}

KeyProbe::KeyProbe(Display* display, int damageEventBase) : display_(display), damageEventBase_(damageEventBase)
{
    // A key held past the repeat delay would type again: under callgrind a
    // repaint takes longer than that.
    XAutoRepeatOff(display);
    XSync(display, False);
}

void KeyProbe::watch(Window window)
{
    // The server reuses the numbers of a client that left: a window of the
    // same number as one watched before is a new one, whose damage object
    // went with it.
    if (const auto old = damage_.find(window); old != damage_.end()) {
        XDamageDestroy(display_.get(), old->second);
    }
    damage_[window] = XDamageCreate(display_.get(), window, XDamageReportNonEmpty);
    XSync(display_.get(), False);
}

void KeyProbe::move(Window window, int x, int y)
{
    XMoveWindow(display_.get(), window, x, y);
    XSync(display_.get(), False);
}

int KeyProbe::width(Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_.get(), window, &attributes) != 0 ? attributes.width : 0;
}

void KeyProbe::parkPointer()
{
    Display* d = display_.get();
    const int screen = DefaultScreen(d);
    XTestFakeMotionEvent(d, screen, DisplayWidth(d, screen) - 1, DisplayHeight(d, screen) - 1, CurrentTime);
    XSync(d, False);
}

void KeyProbe::focus(Window window)
{
    XSetInputFocus(display_.get(), window, RevertToPointerRoot, CurrentTime);
    XSync(display_.get(), False);
}

void KeyProbe::clearDamage(Window window)
{
    XDamageSubtract(display_.get(), damage_.at(window), None, None);
    // Events sent before the subtraction are in the queue after the round
    // trip, and are dropped with it.
    XSync(display_.get(), False);
    while (XPending(display_.get()) > 0) {
        XEvent event;
        XNextEvent(display_.get(), &event);
    }
}

std::optional<Clock::time_point> KeyProbe::nextDrawing(Window window, Clock::time_point deadline)
{
    const int damageNotify = damageEventBase_ + XDamageNotify;
    while (!interrupted_) {
        while (XPending(display_.get()) > 0) {
            XEvent event;
            XNextEvent(display_.get(), &event);
            if (event.type == damageNotify && reinterpret_cast<const XDamageNotifyEvent&>(event).drawable == window) {
                return Clock::now();
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return std::nullopt;
        }
        pollfd p{ConnectionNumber(display_.get()), POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        // A signal ends the wait: the benchmark is being stopped.
        if (ready < 0 && errno == EINTR) {
            interrupted_ = true;
            return std::nullopt;
        }
        if (ready > 0) {
            // Reads what the server sent without blocking.
            XEventsQueued(display_.get(), QueuedAfterReading);
        }
    }
    return std::nullopt;
}

bool KeyProbe::waitStill(Window window, Duration still, Clock::time_point deadline)
{
    const auto span = std::chrono::duration_cast<Clock::duration>(still);
    while (Clock::now() + span <= deadline) {
        clearDamage(window);
        if (!nextDrawing(window, Clock::now() + span)) {
            return !interrupted_;
        }
    }
    return false;
}

void KeyProbe::sendKey(unsigned long keysym, bool down)
{
    const KeyCode code = XKeysymToKeycode(display_.get(), keysym);
    XTestFakeKeyEvent(display_.get(), code, down ? True : False, CurrentTime);
    XFlush(display_.get());
}

std::optional<KeyProbe::Duration> KeyProbe::timePress(
    Window window, unsigned long keysym, Duration still, Clock::time_point deadline)
{
    if (!waitStill(window, still, deadline)) {
        return std::nullopt;
    }
    // waitStill() left the damage cleared: the next event is the press's.
    const auto pressed = Clock::now();
    sendKey(keysym, true);
    const auto drawn = nextDrawing(window, deadline);
    // The release comes after the repaint, as a finger's does, so that the
    // program's work on it is not counted.
    sendKey(keysym, false);
    if (!drawn) {
        return std::nullopt;
    }
    return Duration(*drawn - pressed);
}

KeyProbe::Press KeyProbe::press(Window window, unsigned long keysym, Duration still, Clock::time_point deadline)
{
    clearDamage(window);
    sendKey(keysym, true);
    const bool drawn = nextDrawing(window, deadline).has_value();
    sendKey(keysym, false);
    if (!drawn) {
        return Press::DrewNothing;
    }
    return waitStill(window, still, deadline) ? Press::Settled : Press::KeptDrawing;
}

} // namespace bench
