#!/usr/bin/python3
"""Both windows as a window manager frames them: an X server of the check's own at the screen size
given, openbox, the real program, then what the X server says of their frames, places, stacking,
ownership, icon and focus (xwininfo, xprop; xdotool clicks MW and gives the focus away).

On a screen large enough the windows stand at their designed places; on a small one they lie
wholly inside it. A second start of the program brings the running one to the front, on the
user's desktop, and exits with 0."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from x_session import start_x_server, wait_for, window_id, x_output


def frame(window):
    """The outer rectangle (x, y, width, height) once the window manager has framed it; None before."""
    extents = re.search(r"= (\d+), (\d+), (\d+), (\d+)", x_output("xprop", "-id", str(window), "_NET_FRAME_EXTENTS"))
    info = x_output("xwininfo", "-id", str(window))
    numbers = [re.search(label + r":\s+(-?\d+)", info) for label in
               ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
    if not extents or not all(numbers):
        return None
    left, right, top, bottom = (int(n) for n in extents.groups())
    x, y, width, height = (int(n.group(1)) for n in numbers)
    return (x - left, y - top, width + left + right, height + top + bottom)


def root_windows(atom):
    return [int(n, 16) for n in re.findall(r"0x[0-9a-f]+", x_output("xprop", "-root", atom))]


def settled_frame(window, expected):
    """The frame once it stops changing (and equals `expected` when one is given)."""
    last = [None]

    def stable():
        now = frame(window)
        ready = now is not None and now == last[0] and (expected is None or now == expected)
        last[0] = now
        return now if ready else None
    try:
        return wait_for("the frame", stable, 10)
    except AssertionError:
        raise AssertionError("framed at %r, expected %r" % (last[0], expected))


def inside(outer, width, height):
    x, y, w, h = outer
    return x >= 0 and y >= 0 and x + w <= width and y + h <= height


def main(program, screen):
    width, height = (int(n) for n in screen.split("x"))
    designed = width >= 1280 and height >= 1024
    folder = tempfile.mkdtemp()
    x_server = start_x_server("%dx%dx24" % (width, height))
    manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    binary = shutil.copy(program, folder)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_CONFIG_HOME=folder)
    process = other = None
    try:
        time.sleep(0.5)  # openbox takes over the screen
        process = subprocess.Popen([binary], env=env, stderr=subprocess.DEVNULL)
        main_window = wait_for("the main window", lambda: window_id("Corvex-Corvin"))
        outer = settled_frame(main_window, (430, 110, 405, 280) if designed else None)
        if not designed and (outer[2:] != (405, 280) or not inside(outer, width, height)):
            raise AssertionError("main window at %r on a %s screen" % (outer, screen))
        if "_NET_WM_STATE_ABOVE" not in x_output("xprop", "-id", str(main_window), "_NET_WM_STATE"):
            raise AssertionError("the main window is not kept above others")
        if "Icon (16 x 16)" not in x_output("xprop", "-id", str(main_window), "_NET_WM_ICON"):
            raise AssertionError("the main window carries no icon")

        # MW, clicked as a user does: the editor opens owned by the main window and above it.
        subprocess.run(["xdotool", "mousemove", "--window", str(main_window), "208", "76", "click", "1"], check=True)
        editor = wait_for("the editor", lambda: window_id("Memories"))
        transient = re.search(r"window id # (0x[0-9a-f]+)", x_output("xprop", "-id", str(editor), "WM_TRANSIENT_FOR"))
        if not transient or int(transient.group(1), 16) != main_window:
            raise AssertionError("the editor is not transient for the main window")
        editor_outer = settled_frame(editor, None)
        if designed and editor_outer[:2] != (552, 172):
            raise AssertionError("editor at %r, designed at 552, 172" % (editor_outer,))
        if not designed and not inside(editor_outer, width, height):
            raise AssertionError("editor at %r on a %s screen" % (editor_outer, screen))
        stacking = root_windows("_NET_CLIENT_LIST_STACKING")
        if stacking.index(editor) < stacking.index(main_window):
            raise AssertionError("the editor is stacked below the main window")

        # The user goes to another desktop, where another program takes the focus; a second start
        # brings the running one there and gives it the focus back, and exits.
        subprocess.run(["xdotool", "set_desktop", "2"], check=True)
        other = subprocess.Popen(["xmessage", "-name", "other", "another program"], stderr=subprocess.DEVNULL)
        other_window = wait_for("another program", lambda: window_id("other"))
        subprocess.run(["xdotool", "windowactivate", str(other_window)], capture_output=True)
        wait_for("the other program's focus", lambda: root_windows("_NET_ACTIVE_WINDOW") == [other_window])
        second = subprocess.run([binary], env=env, stderr=subprocess.DEVNULL, timeout=20)
        if second.returncode != 0:
            raise AssertionError("the second start exited with %d" % second.returncode)
        wait_for("the running program's focus", lambda: root_windows("_NET_ACTIVE_WINDOW") == [editor])
        for window in (main_window, editor):
            if x_output("xdotool", "get_desktop_for_window", str(window)).strip() != "2":
                raise AssertionError("a window stayed on another desktop")
        if process.poll() is not None:
            raise AssertionError("the running program stopped")
        named = x_output("xdotool", "search", "--onlyvisible", "--name", "^Corvex-Corvin$").split()
        if len(named) != 1:
            raise AssertionError("%d main windows after a second start" % len(named))
        print("%s: main window %r, editor %r above it and owned by it; a second start raised the first" %
              (screen, outer, editor_outer))
    finally:
        for running in (process, other):
            if running:
                running.terminate()
                running.wait(10)
        manager.terminate()
        x_server.terminate()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
