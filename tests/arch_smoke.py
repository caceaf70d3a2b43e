#!/usr/bin/env python3
"""Starts the real program, as built for any CPU, and checks what it computes.

    tests/display_session.sh --bus -- python3 arch_smoke.py <qinghe-taxcalc>

On the X server and the session bus the launcher gives it, it starts the
program with --print-tape, types 1 2 + 3 0 Enter and reads the entry line
through AT-SPI: "42.". Then Alt+J and Escape: the tape the program prints
ends with the report at the starting rate, 税率 17.00%. The waits are long
enough for a program run through qemu-user.
"""

import os
import re
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

CAPTION = "青禾税率计算器"
ENTRY = "结果编辑区"
TIMEOUT = 120.0


class Failure(Exception):
    pass


def wait_for(what, condition, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    raise Failure(f"timed out waiting for {what}")


def entry_line():
    """The entry line of the calculator's window on the accessibility bus."""
    import pyatspi

    desktop = pyatspi.Registry.getDesktop(0)
    for application in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)):
        for frame in (application.getChildAtIndex(j) for j in range(application.childCount if application else 0)):
            if frame and frame.name == CAPTION:
                found = pyatspi.findDescendant(frame, lambda node: node.name == ENTRY)
                if found:
                    return found
    return None


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True).stdout


def main(program):
    if not os.environ.get("DISPLAY"):
        raise Failure("no X server: run me under tests/display_session.sh --bus")
    # What a screen reader does first: Qt then puts the window on the bus.
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, -1, None)
    with tempfile.TemporaryDirectory() as runtime:
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        started = time.monotonic()
        app = subprocess.Popen([program, "--print-tape"], env=env, stdout=subprocess.PIPE, text=True)
        try:
            entry = wait_for("the entry line on the accessibility bus", entry_line)
            window = wait_for("the window", lambda: subprocess.run(
                ["xdotool", "search", "--onlyvisible", "--name", f"^{CAPTION}$"],
                capture_output=True, text=True).stdout.split())[0]
            print(f"window up after {time.monotonic() - started:.1f} s, entry line {text_of(entry)!r}")
            xdotool("windowfocus", "--sync", window)
            xdotool("key", "--delay", "100", "1", "2", "KP_Add", "3", "0", "Return")
            try:
                wait_for("'42.' on the entry line", lambda: text_of(entry) == "42.", timeout=30)
            except Failure:
                raise Failure(f"1 2 + 3 0 Enter: the entry line reads {text_of(entry)!r}, not '42.'") from None
            print("1 2 + 3 0 Enter: the entry line reads '42.'")
            xdotool("key", "--delay", "100", "alt+j", "Escape")
            tape, _ = app.communicate(timeout=TIMEOUT)
        finally:
            if app.poll() is None:
                app.kill()
                app.wait()
    if app.returncode != 0:
        raise Failure(f"the program ended with {app.returncode}")
    lines = tape.splitlines()
    if not any(re.fullmatch(r"结果\s+42", line) for line in lines):
        raise Failure(f"no '结果 42' on the tape:\n{tape}")
    if not any(re.fullmatch(r"\s*税率：\s*17\.00%", line) for line in lines):
        raise Failure(f"Alt+J wrote no '税率：17.00%' on the tape:\n{tape}")
    print("tape: 结果 42; Alt+J: 税率：17.00%")


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except Failure as failure:
        print(f"arch_smoke: {failure}", file=sys.stderr)
        sys.exit(1)
