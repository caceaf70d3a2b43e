#!/usr/bin/env python3
"""Reads the calculator window through AT-SPI, as a screen reader does.

    tests/display_session.sh --bus -- python3 accessibility_atspi.py <qinghe-taxcalc>

On the X server and the session bus the launcher gives it, it switches the
screen reader on (org.a11y.Status), listens for the events a reader listens for,
then starts the program and types at it through XTEST. It checks:
  - the texts: entry line "0." and rate display "17%" at the start, "42."
    after 1 2 + 3 0 Enter, memory indicator "M" after Alt+M;
  - the events: Enter sends a text change carrying "42" within 100 ms, and
    the tape tells of its result line (selected, active descendant), also
    while the hint line has the focus; no other line is told on the way;
  - the names: every key is named, every key but the digits and the point
    in Chinese or with a Chinese description.
Prints what it read and the latencies it measured.
"""

import ctypes
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

ENTRY = "结果编辑区"
MEMORY = "存储区"
RATE = "当前税率"
CAPTION = "青禾税率计算器"
TIMEOUT = 10.0
LATENCY_LIMIT = 0.100
CHINESE = re.compile("[\u4e00-\u9fff]")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def switch_screen_reader_on():
    """What a screen reader does first: the bus then tells toolkits to speak.

    IsEnabled, the switch every at-spi2-core has; ScreenReaderEnabled is gone
    from the newer ones, and toolkits turn on for either."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, -1, None)


class Keyboard:
    """Key presses through XTEST, timed from the moment the server has them."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        check(self.display, "cannot open the X display")

    def code(self, name):
        keycode = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        check(keycode, f"no key for {name}")
        return keycode

    def press(self, *names):
        """Presses the keys in order and releases them in reverse: press("Alt_L", "m")."""
        codes = [self.code(name) for name in names]
        for keycode in codes:
            self.xtst.XTestFakeKeyEvent(self.display, keycode, 1, 0)
        for keycode in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.display, keycode, 0, 0)
        self.x11.XSync(self.display, 0)
        return time.monotonic()

    def close(self):
        self.x11.XCloseDisplay(self.display)


class Reader:
    def __init__(self):
        import pyatspi
        self.pyatspi = pyatspi
        self.events = []
        self.context = GLib.MainContext.default()
        GLib.timeout_add(5, lambda: True)  # the tick that ends a wait
        for kind in ("object:text-changed:insert", "object:state-changed:selected",
                     "object:active-descendant-changed", "object:selection-changed", "focus:"):
            pyatspi.Registry.registerEventListener(self.heard, kind)

    def heard(self, event):
        at = time.monotonic()
        data = event.any_data
        if isinstance(data, self.pyatspi.Accessible):
            data = data.name
        try:
            source = event.source.name
        except GLib.Error:  # gone already
            source = None
        self.events.append((at, event.type, source, data))

    def step(self):
        """Handles what has arrived, waiting at most a tick for something: an
        event is timed as it arrives, not at the next poll."""
        self.context.iteration(True)
        while self.context.pending():
            self.context.iteration(False)

    def wait_for(self, what, condition, timeout=TIMEOUT):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            self.step()
            result = condition()
            if result:
                return result
        raise Failure(f"timed out waiting for {what}")

    def window(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            application = desktop.getChildAtIndex(i)
            for j in range(application.childCount if application else 0):
                frame = application.getChildAtIndex(j)
                if frame and frame.name == CAPTION:
                    return frame
        return None

    def event_after(self, start, kind, source=None, contains=""):
        for at, type_, from_, data in self.events:
            if at >= start and type_ == kind and (source is None or from_ == source) and contains in str(data):
                return at
        return None


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        yield child
        yield from descendants(child)


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def main(program):
    display = os.environ.get("DISPLAY", "")
    check(display, "no X server: run me under tests/display_session.sh")
    runtime = tempfile.TemporaryDirectory()
    app = None
    keyboard = None
    try:
        switch_screen_reader_on()
        # Listening before the program starts: Qt reads the listeners' list
        # when it connects, so no event is lost to a late subscription.
        reader = Reader()
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime.name)
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
        # Under the sanitizers: Qt's AT-SPI bridge now and then leaves an
        # object of its own allocated at exit (88 bytes from inside
        # libQt6Gui, its stack ending there). The leak check of the
        # program's own code is the other tests' work; this one reads the
        # window as a reader does.
        if "ASAN_OPTIONS" in env:
            env["ASAN_OPTIONS"] += ":detect_leaks=0"
        app = subprocess.Popen([program], env=env)
        window = reader.wait_for("the window on the accessibility bus", reader.window)
        controls = {node.name: node for node in descendants(window)}
        for name in (ENTRY, MEMORY, RATE):
            check(name in controls, f"no control named {name}")
        entry, memory, rate = controls[ENTRY], controls[MEMORY], controls[RATE]
        check(text_of(entry) == "0.", f"entry line reads {text_of(entry)!r} at the start")
        check(text_of(rate) == "17%", f"rate display reads {text_of(rate)!r} at the start")
        check(text_of(memory) == "", f"memory indicator reads {text_of(memory)!r} at the start")

        keys = [node for node in descendants(window) if node.getRole() == reader.pyatspi.ROLE_PUSH_BUTTON]
        check(len(keys) == 29, f"{len(keys)} buttons, expected the 28 keys and the close button")
        for key in keys:
            check(key.name, "a key without a name")
            if not re.fullmatch(r"\d", key.name):
                check(CHINESE.search(key.name) or CHINESE.search(key.description),
                      f"key {key.name!r} has neither a Chinese name nor a Chinese description")
        check(any(key.name == "小数点" for key in keys), "no point key by name")

        window_id = reader.wait_for("the X window", lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", f"^{CAPTION}$"],
            capture_output=True, text=True).stdout.split())[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True)
        keyboard = Keyboard(display)

        latencies, tape_latencies = [], []
        for trial, focus in enumerate(("tape", "tape", "hint line")):
            if focus == "hint line":
                keyboard.press("Tab")  # from the tape to the hint line
            keyboard.press("Alt_L", "c")
            reader.wait_for("a cleared entry line", lambda: text_of(entry) == "0.")
            for key in ("1", "2", "KP_Add", "3", "0"):
                keyboard.press(key)
            reader.wait_for("'30.' on the entry line", lambda: text_of(entry) == "30.")
            pressed = keyboard.press("Return")
            heard = reader.wait_for("a text change carrying 42", lambda: reader.event_after(
                pressed, "object:text-changed:insert", ENTRY, "42"))
            line = reader.wait_for("the result line as active descendant", lambda: reader.event_after(
                pressed, "object:active-descendant-changed", contains="42"))
            reader.wait_for("the result line selected", lambda: reader.event_after(
                pressed, "object:state-changed:selected", contains="42"))
            # One program's events arrive in order: a line told on the way
            # would be here already.
            told = {source for at, kind, source, _ in reader.events
                    if at >= pressed and kind == "object:state-changed:selected"}
            check(all(source and "42" in source for source in told), f"equals told of other lines: {told}")
            check(text_of(entry) == "42.", f"entry line reads {text_of(entry)!r} after 12 + 30 =")
            latencies.append(heard - pressed)
            tape_latencies.append(line - pressed)
            print(f"trial {trial + 1} ({focus} focused): entry '42.' announced after "
                  f"{1000 * (heard - pressed):.1f} ms, result line after {1000 * (line - pressed):.1f} ms")

        pressed = keyboard.press("Alt_L", "m")
        reader.wait_for("'M' on the memory indicator", lambda: text_of(memory) == "M")
        heard = reader.wait_for("a text change carrying M", lambda: reader.event_after(
            pressed, "object:text-changed:insert", MEMORY, "M"))
        print(f"memory indicator reads 'M', announced after {1000 * (heard - pressed):.1f} ms")

        # A scheduler hiccup on a busy machine may slow one trial; the median
        # is what a reader hears.
        median = statistics.median(latencies)
        check(median <= LATENCY_LIMIT, f"entry line announced after a median {1000 * median:.1f} ms")
        check(statistics.median(tape_latencies) <= LATENCY_LIMIT, "result line announced late")
        print(f"entry '0.' and rate '17%' at the start, {len(keys)} buttons named; "
              f"result announced after a median {1000 * median:.1f} ms")

        keyboard.press("Escape")
        check(app.wait(timeout=TIMEOUT) == 0, "the program did not end cleanly on Escape")
        app = None
    finally:
        if keyboard:
            keyboard.close()
        if app:
            app.kill()
            app.wait()
        runtime.cleanup()


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except Failure as failure:
        print(f"accessibility: {failure}", file=sys.stderr)
        sys.exit(1)
