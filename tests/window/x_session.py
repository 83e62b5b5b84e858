"""An X server of the test's own, on a free display: the desktop checks start one each."""
import os
import subprocess


def start_x_server(screen="1024x768x24"):
    """Starts Xvfb on a free display, which it names once it accepts clients, and sets DISPLAY."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", screen],
                              pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as names:
        os.environ["DISPLAY"] = ":" + names.readline().strip()
    return server
