"""An X server of the test's own, on a free display (the desktop checks start one each), and what
they ask of it."""
import os
import re
import subprocess
import time


def start_x_server(screen="1024x768x24"):
    """Starts Xvfb on a free display, which it names once it accepts clients, and sets DISPLAY."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", screen],
                              pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as names:
        os.environ["DISPLAY"] = ":" + names.readline().strip()
    return server


def x_output(*command):
    result = subprocess.run(command, capture_output=True, text=True)
    return result.stdout if result.returncode == 0 else ""


def wait_for(what, condition, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def window_id(name):
    """The X window of that name, once it is mapped."""
    found = re.search(r"Window id: (0x[0-9a-f]+)", x_output("xwininfo", "-name", name))
    if not found or "IsViewable" not in x_output("xwininfo", "-id", found.group(1)):
        return None
    return int(found.group(1), 16)
