#!/usr/bin/python3
"""The main window as a window manager frames it: its own X server and openbox, the real program,
then what the X server says of its frame, size, place and stacking (xwininfo, xprop)."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from x_session import start_x_server


def x_output(*command):
    result = subprocess.run(command, capture_output=True, text=True)
    return result.stdout if result.returncode == 0 else ""


def frame_extents():
    """left, right, top, bottom once the window manager has framed the window; None before."""
    found = re.search(r"= (\d+), (\d+), (\d+), (\d+)", x_output("xprop", "-name", "Corvex-Corvin", "_NET_FRAME_EXTENTS"))
    return tuple(int(n) for n in found.groups()) if found else None


def client_geometry():
    info = x_output("xwininfo", "-name", "Corvex-Corvin")
    numbers = [re.search(label + r":\s+(-?\d+)", info) for label in
               ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
    return tuple(int(n.group(1)) for n in numbers) if all(numbers) else None


def main(program):
    folder = tempfile.mkdtemp()
    x_server = start_x_server()
    manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    binary = shutil.copy(program, folder)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_CONFIG_HOME=folder)
    process = None
    try:
        time.sleep(0.5)  # openbox takes over the screen
        process = subprocess.Popen([binary], env=env, stderr=subprocess.DEVNULL)
        expected = (430, 110, 405, 280)
        outer = None
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            extents, client = frame_extents(), client_geometry()
            if extents and client:
                left, right, top, bottom = extents
                x, y, width, height = client
                outer = (x - left, y - top, width + left + right, height + top + bottom)
                if outer == expected:
                    break
            time.sleep(0.1)
        if outer != expected:
            raise AssertionError("framed window at %r, designed %r" % (outer, expected))
        state = x_output("xprop", "-name", "Corvex-Corvin", "_NET_WM_STATE")
        if "_NET_WM_STATE_ABOVE" not in state:
            raise AssertionError("the window is not kept above others: " + state)
        print("framed by openbox: outer %dx%d at %d,%d, kept above others" % (expected[2], expected[3], expected[0],
                                                                             expected[1]))
    finally:
        if process:
            process.terminate()
            process.wait(10)
        manager.terminate()
        x_server.terminate()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1])
