#!/usr/bin/python3
"""The main window under a real Wayland compositor with XWayland, as GNOME and KDE Plasma run it.

Usage: compositor_check.py mutter|kwin PROGRAM OTHER
Starts the compositor headless on a 1280x1024 virtual screen, in a D-Bus session of its own, and
runs this check again inside it (exits 77, skipped, where the compositor or Qt's Wayland plugin is
not installed, unless CORVEX_REQUIRE_COMPOSITORS is set). There, with no platform chosen, the program runs as an X11 client of XWayland:
its window stands at its designed place and stays above another program's X11 window (OTHER, a
stock Qt window) after that window is clicked, as the compositor's stacking says. With the
Wayland platform chosen, the program runs as a Wayland client and its status line, read through
AT-SPI, says once that the window cannot be kept on top.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

import desktop_check
from x_session import wait_for, x_output

SKIPPED = 77
SCREEN = (1280, 1024)
NOTICE = "Wayland cannot keep this window on top of others"


def compositor_command(name, check):
    width, height = SCREEN
    if name == "mutter":
        return ["mutter", "--headless", "--wayland", "--virtual-monitor", "%dx%d" % SCREEN, "--"] + check
    # KWin starts the programs it is given once its XWayland is up, and ends with the first.
    return ["kwin_wayland", "--virtual", "--xwayland", "--width", str(width), "--height", str(height),
            "--no-lockscreen", "--no-global-shortcuts", "--exit-with-session", " ".join(check)]


def outside(name, program, other):
    binary = {"mutter": "mutter", "kwin": "kwin_wayland"}[name]
    if not shutil.which(binary) or not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland*.so"):
        print("%s or Qt's Wayland platform plugin (qt6-wayland) is not installed" % binary)
        return 1 if os.environ.get("CORVEX_REQUIRE_COMPOSITORS") else SKIPPED
    folder = tempfile.mkdtemp()
    os.chmod(folder, 0o700)
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(HOME=folder, XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
               XDG_SESSION_TYPE="wayland", GSETTINGS_BACKEND="memory", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    result = os.path.join(folder, "result")
    check = ["/usr/bin/python3", "-B", os.path.abspath(__file__), "--inside", name, program, other, result]
    try:
        session = subprocess.run(["dbus-run-session", "--"] + compositor_command(name, check), env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=180)
        if not os.path.exists(result):
            print("%s ended (%d) before the check did" % (binary, session.returncode))
            return 1
        with open(result) as text:
            report = text.read()
        print(report, end="")
        return 0 if report.startswith("passed") else 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def inside(name, program, other, result):
    def client(name):
        """The compositor's client window of that name (its frame window carries the name too)."""
        for window in desktop_check.root_windows("_NET_CLIENT_LIST"):
            if x_output("xprop", "-id", str(window), "WM_NAME").strip().endswith('"%s"' % name):
                return window
        return None

    folder = tempfile.mkdtemp()
    binary = shutil.copy(program, folder)  # the memory file goes beside the program
    started = []
    try:
        env = dict(os.environ, XDG_CONFIG_HOME=folder)
        started.append(subprocess.Popen([binary], env=env, stderr=subprocess.DEVNULL))
        main_window = wait_for("the main window on XWayland", lambda: client("Corvex-Corvin"), 30)
        outer = desktop_check.settled_frame(main_window, None)
        if outer[:2] != (430, 110):
            raise AssertionError("%s placed the main window at %r, designed at 430, 110" % (name, outer))

        # Another X11 client, whose stacking XWayland's window manager reports as it does ours.
        started.append(subprocess.Popen([other], env=dict(env, QT_QPA_PLATFORM="xcb"), stderr=subprocess.DEVNULL))
        other_window = wait_for("the other window", lambda: client("Stock spin box"), 30)
        subprocess.run(["xdotool", "mousemove", "--window", str(other_window), "20", "20", "click", "1"], check=True)
        wait_for("the other window's focus",
                 lambda: desktop_check.root_windows("_NET_ACTIVE_WINDOW") == [other_window], 10)
        stacking = desktop_check.root_windows("_NET_CLIENT_LIST_STACKING")
        if stacking.index(main_window) < stacking.index(other_window):
            raise AssertionError("%s stacks the clicked window above the main window: %r" % (name, stacking))
        for running in started:
            running.terminate()
            running.wait(10)
        started.clear()

        status = wayland_status(binary, env, started)
        with open(result, "w") as report:
            report.write("passed: %s with XWayland: the main window at %r, above a clicked window; "
                         "as a Wayland client the status line says %r\n" % (name, outer, status))
    except AssertionError as error:
        with open(result, "w") as report:
            report.write("failed: %s\n" % error)
    finally:
        for running in started:
            running.terminate()
            running.wait(10)
        shutil.rmtree(folder, ignore_errors=True)


def wayland_status(binary, env, started):
    """The status line of the program run as a Wayland client, read through AT-SPI."""
    import pyatspi

    def status_line():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Corvex-Corvin":
                for window in app:
                    if window.name == "Corvex-Corvin":
                        labels = [c for c in window if c.getRoleName() == "label"]
                        if labels and labels[0].name == NOTICE:
                            return labels[0].name
        return None

    started.append(subprocess.Popen([binary, "-platform", "wayland"], env=env, stderr=subprocess.DEVNULL))
    return wait_for("the notice on the status line", status_line, 30)


if __name__ == "__main__":
    if sys.argv[1] == "--inside":
        inside(*sys.argv[2:6])
        sys.exit(0)
    sys.exit(outside(*sys.argv[1:4]))
