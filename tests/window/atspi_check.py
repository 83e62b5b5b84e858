#!/usr/bin/python3
"""What a screen reader sees of the main window, read through AT-SPI itself.

Run inside a private D-Bus session (dbus-run-session -- python3 atspi_check.py PROGRAM): starts an X
server of its own and the program on it, finds the program on the accessibility bus, checks names,
roles, states and values, presses UP through its action, types a refused frequency, and checks the
events a screen reader would hear.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from gi.repository import Gio, GLib
from x_session import start_x_server


def start_session_display():
    """An X server of its own, known to the accessibility services the bus starts too (the
    registry that types keys needs it)."""
    server = start_x_server()
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "UpdateActivationEnvironment",
        GLib.Variant("(a{ss})", ({"DISPLAY": os.environ["DISPLAY"]},)), None, Gio.DBusCallFlags.NONE, -1, None)
    return server


x_server = start_session_display()
import pyatspi  # noqa: E402 (connects to the accessibility bus, which needs the display)

events = []


def record(event):
    events.append((event.type, event.source_name, event.source_role, event.any_data))


def pump(seconds, until=lambda: False):
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < deadline and not until():
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)
    return until()


# Roles by their numbers: AT-SPI 2.56 names a push button "button".
def find_window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Corvex-Corvin" and app.childCount > 0:
            for window in app:
                if window.name == "Corvex-Corvin" and window.childCount > 30:
                    return window
    return None


def states(node):
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def expect(condition, what):
    if not condition:
        raise AssertionError(what)


def main(program):
    folder = tempfile.mkdtemp()
    binary = shutil.copy(program, folder)  # the memory file goes beside the program
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", XDG_CONFIG_HOME=folder)
    # A fresh X server now and then refuses its very first client for a moment; the program is
    # started again when it could not reach the display at all.
    for attempt in range(3):
        process = subprocess.Popen([binary], env=env)
        if pump(20, lambda: find_window() is not None or process.poll() is not None) and process.poll() is None:
            break
        process.wait(10)
        print("the program could not start on", os.environ["DISPLAY"], "- starting it again", flush=True)
    try:
        window = find_window()
        expect(window is not None, "the main window never showed on the accessibility bus")
        expect(window.getRole() == pyatspi.ROLE_FRAME, "window role: " + window.getRoleName())

        pyatspi.Registry.registerEventListener(
            record, "object:property-change:accessible-value", "object:property-change:accessible-name")
        children = list(window)
        buttons = {c.name: c for c in children if c.getRole() == pyatspi.ROLE_PUSH_BUTTON}
        for name in ("UP", "DOWN", "MEM", "MW"):
            expect(name in buttons, "no push button named " + name + " in " + str(sorted(buttons)))
        choices = {c.name: c for c in children if c.getRole() == pyatspi.ROLE_RADIO_BUTTON}
        for name in ("Step 10 MHz", "Step 10 kHz", "Step 1 kHz", "Step 1 Hz", "BANK 1", "MEM 15: no frequency"):
            expect(name in choices, "no radio button named " + name + " in " + str(sorted(choices)))
        expect("checked" in states(choices["Step 10 kHz"]), "the lit 10 kHz step is not checked")
        expect("checked" not in states(choices["Step 1 kHz"]), "the dark 1 kHz step is checked")
        expect("checked" in states(buttons["MEM"]), "the lit M-VFO button is not checked")
        expect(buttons["MEM"].description == "VFO mode. MEM switches to the memories.",
               "the mode is not described: %r" % buttons["MEM"].description)

        readout = next(c for c in children if c.name == "Frequency")
        expect(readout.getRole() == pyatspi.ROLE_SPIN_BUTTON, "readout role: " + readout.getRoleName())
        expect("focusable" in states(readout), "the readout cannot take the focus")
        expect(readout.description == "Step 10 kHz", "readout description %r" % readout.description)
        expect(readout.queryValue().currentValue == 14200.0, "readout value %r" % readout.queryValue().currentValue)
        text = readout.queryText()
        expect(text.getText(0, -1) == "14,200.000 kHz", "readout text %r" % text.getText(0, -1))
        status = next(c for c in children if c.getRole() == pyatspi.ROLE_LABEL)

        action = buttons["UP"].queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        expect("Press" in names, "UP has no Press action: %r" % names)
        action.doAction(names.index("Press"))
        expect(pump(10, lambda: readout.queryText().getText(0, -1) == "14,210.000 kHz"),
               "pressing UP did not tune: %r" % readout.queryText().getText(0, -1))
        expect(pump(5, lambda: any(e[0].startswith("object:property-change:accessible-value") and e[1] == "Frequency"
                                   for e in events)), "no value change of the readout was announced: %r" % events)

        # Keys typed into the window: a refused frequency, which the status line says.
        for key in "80000":
            pyatspi.Registry.generateKeyboardEvent(ord(key), None, pyatspi.KEY_SYM)
        pyatspi.Registry.generateKeyboardEvent(0xFF0D, None, pyatspi.KEY_SYM)  # Return
        refusal = "Out of range: 80000 kHz (50 to 70000 kHz)"
        expect(pump(10, lambda: status.name == refusal), "status line: %r" % status.name)
        expect(pump(5, lambda: any(e[0].startswith("object:property-change:accessible-name") and e[1] == refusal
                                   for e in events)), "the status line's change was not announced: %r" % events)
        print("AT-SPI: window, %d push buttons, %d radio buttons, readout, status line and events as expected"
              % (len(buttons), len(choices)))
    finally:
        process.terminate()
        process.wait(10)
        x_server.terminate()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1])
