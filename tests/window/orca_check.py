#!/usr/bin/python3
"""What Orca, the screen reader, speaks of the program used by keys alone.

Run inside a private D-Bus session (dbus-run-session -- python3 orca_check.py PROGRAM STOCK): starts
an X server, a window manager and Orca (speech goes nowhere that matters; what counts is what Orca
decides to speak, read from its debug file), then proves the chain on a stock Qt spin box (STOCK)
before it drives the program by keys and checks what Orca says after each one.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from gi.repository import Gio, GLib
from x_session import start_x_server, wait_for, window_id

HERE = os.path.dirname(os.path.abspath(__file__))


class Orca:
    """Orca with a private settings folder, and what it has spoken so far."""

    def __init__(self, folder):
        self.log = os.path.join(folder, "orca.log")
        preferences = os.path.join(folder, "orca")
        os.makedirs(preferences)
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "orca_line_buffered.py"), self.log, preferences],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.heard = 0
        # Orca speaks that it is on before it listens to applications: the window shown before it
        # listens would go unheard.
        wait_for("Orca to listen", lambda: os.path.exists(self.log) and LISTENING.search(self.text()), 60)

    def text(self):
        with open(self.log, encoding="utf-8", errors="replace") as log:
            return log.read()

    def spoken(self):
        return re.findall(r"SPEECH OUTPUT: '(.*?)'", self.text())

    def locus(self):
        """The control Orca last took as the locus of focus, as "role | name" (Orca 43 logs
        [role | name], Orca 48 [role: 'name'])."""
        found = LOCUS_CHANGE.findall(self.text())
        if not found:
            return None
        named = re.fullmatch(r"(.*?): '(.*)'", found[-1])
        return " | ".join(named.groups()) if named else found[-1]

    def after(self, action, expected, what, focus=None, seconds=30):
        """Does the action, then waits until Orca has spoken every text in `expected` (each a
        regular expression, matched in the speech since the last step) and, where `focus` names
        a control ("role | name"), has taken it as its locus of focus."""
        self.heard = len(self.spoken())
        action()
        def all_heard():
            said = " | ".join(self.spoken()[self.heard:])
            return all(re.search(e, said) for e in expected) and (focus is None or self.locus() == focus)
        try:
            wait_for(what, all_heard, seconds)
        except AssertionError:
            if os.environ.get("ORCA_LOG_TAIL"):
                print(self.text()[-int(os.environ["ORCA_LOG_TAIL"]):])
            raise AssertionError("%s: Orca said %r, expected %r; its focus %r, expected %r"
                                 % (what, self.spoken()[self.heard:], expected, self.locus(), focus))
        print("%-34s Orca: %s" % (what, " | ".join(self.spoken()[self.heard:])), flush=True)

    def text_cache_cleared(self):
        """Orca 48 keeps the text of a widget that is not editable for up to 2 s, which a thread of
        its own then clears: the clearing it logs next."""
        clearings = self.text().count(CACHE_CLEARED)
        wait_for("Orca's text cache to clear", lambda: self.text().count(CACHE_CLEARED) > clearings, 10)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


CACHE_CLEARED = "GENERATOR: Clearing cache."
LISTENING = re.compile(r"ORCA: Starting (ATSPI registry|Atspi main event loop)")
STOCK_JOINED = re.compile(r"children-changed:add for .*\[application(?: \| |: ')stock_spin_box")
LOCUS_CHANGE = re.compile(r"Changing locus(?:OfFocus| of focus) from .*? to \[(.*?)\]\. Notify")


def orca_major_version():
    version = subprocess.run(["/usr/bin/python3", "-c", "from orca import orca_platform; print(orca_platform.version)"],
                             capture_output=True, text=True, check=True).stdout
    return int(version.split(".")[0])


def keys(*names):
    def press():
        for name in names:
            subprocess.run(["xdotool", "key", "--delay", "60", name], check=True)
    return press


def stayed(press):
    def after_the_dwell():
        time.sleep(2.2)
        press()
    return after_the_dwell


def main(program, stock):
    folder = tempfile.mkdtemp()
    os.environ.update(HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
                      XDG_DATA_HOME=os.path.join(folder, "data"), XDG_RUNTIME_DIR=folder,
                      GSETTINGS_BACKEND="memory", QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    x_server = start_x_server("1280x1024x24")
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "UpdateActivationEnvironment",
        GLib.Variant("(a{ss})", ({"DISPLAY": os.environ["DISPLAY"]},)), None, Gio.DBusCallFlags.NONE, -1, None)
    manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    orca = baseline = process = None
    try:
        orca = Orca(folder)
        orca.after(lambda: None, [], "Orca started")
        baseline = subprocess.Popen([stock, "--show-on-input"], stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        wait_for("Orca to see the stock spin box's application", lambda: STOCK_JOINED.search(orca.text()), 30)
        def show_stock():
            baseline.stdin.write(b"show\n")
            baseline.stdin.flush()
            wait_for("the stock spin box", lambda: window_id("Stock spin box"))
        orca.after(show_stock,
                   [r"Stock", r"spin button", r"14201 kHz"], "stock spin box focused")
        # Qt's spin box is not editable to AT-SPI: Orca 48 would speak its text cached at focus.
        if orca_major_version() >= 48:
            orca.after(orca.text_cache_cleared, [], "Orca's text cache cleared")
        orca.after(keys("Up"), [r"14202 kHz"], "stock spin box: Up")
        baseline.terminate()
        baseline.wait(10)

        binary = shutil.copy(program, folder)  # the memory file goes beside the program
        stations = os.path.join(folder, "dial.csv")
        with open(stations, "w") as list_file:
            list_file.write("frequency_hz,name,list,mode,start_utc,stop_utc,days,language,target,notes\r\n"
                            "7325000,Radio Test,,AM,,,,English,,\r\n")
        subprocess.run([binary, "--import-stations", stations], check=True, stdout=subprocess.DEVNULL)
        process = subprocess.Popen([binary], stderr=subprocess.DEVNULL)
        orca.after(lambda: wait_for("the main window", lambda: window_id("Corvex-Corvin")),
                   [r"Corvex-Corvin frame", r"notification", r"Error USB"], "main window shown")
        for step in STEPS if orca_major_version() < 48 else ORCA_48_FIRST_TAB + STEPS[1:]:
            orca.after(*step)
        wait_for("Esc to close the memory editor", lambda: not window_id("Memories"), 10)
        print("Orca: the chain and every step heard as expected")
    finally:
        for running in (process, baseline):
            if running:
                running.terminate()
                running.wait(10)
        if orca:
            orca.stop()
        manager.terminate()
        x_server.terminate()
        shutil.rmtree(folder, ignore_errors=True)


# From the readout, Tab goes through the 8 steps, UP, DOWN, MW, the memory/VFO toggle, the 15
# memories, then the banks.
STEPS = [
    (keys("Tab"), [r"Frequency 14,200\.000 kHz spin button", r"Step 10 kHz"], "Tab to the readout"),
    (keys("KP_Up"), [r"14,200\.000 kHz"], "Flat review of the line"),
    (keys("Up"), [r"14,210\.000 kHz"], "Up"),
    (keys("Left"), [r"Step 100 kHz"], "Left"),
    (keys("7", "0", "7", "4", "Return"), [r"7,074\.000 kHz"], "7074 Enter"),
    (keys("9", "9", "9", "9", "9", "Return"), [r"Out of range: 99999 kHz \(50 to 70000 kHz\)"], "99999 Enter"),
    (keys("7", "3", "2", "0", "Return"), [r"7,320\.000 kHz"], "7320 Enter"),
    # A frequency counts for going back once it has stayed 2 s on the dial.
    (stayed(keys("Page_Up")), [r"7,325\.000 kHz", r"7,325 kHz: Radio Test, English"], "Page Up: the next channel"),
    (keys("alt+Left"), [r"7,320\.000 kHz"], "Alt+Left: back"),
    (keys("ctrl+k"), [r"Tuning locked"], "Ctrl+K"),
    (keys("ctrl+k"), [r"Tuning unlocked"], "Ctrl+K again"),
    (keys(*["Tab"] * 12), [r"MEM (push )?button", r"VFO mode"], "Tab to the memory/VFO toggle"),
    (keys("space"), [r"Memory mode"], "Space: memory mode"),
    (keys(*["Tab"] * 16), [r"BANK 1\.? (\| )?selected radio button"], "Tab to the lit bank"),
    (keys("shift+Tab"), [r"MEM 15: no frequency\.? (\| )?not selected radio button"], "Shift+Tab to a memory"),
    (keys("Tab", "Tab"), [r"BANK 2\.? (\| )?not selected radio button"], "Tab to the next bank"),
    (keys("space"), [r"(?<!not )selected"], "Space: that bank"),
    (keys(*["shift+Tab"] * 18), [r"MW (push )?button", r"Opens the memory editor"], "Shift+Tab back to MW"),
    # Orca takes the editor's first control as its focus a moment after it speaks the window: the
    # next key waits for that, or Orca would take it for a key in the main window.
    (keys("space"), [r"Memories frame"], "Space: the memory editor", "radio button | BANK 1"),
    # A field selects its text as it takes the focus. Orca 48, when it handles the Tab only after
    # that, takes the field as its focus in silence, speaks the selection, and at the focus event
    # names the field without its role; the role is then known from the focus Orca took.
    (keys("Tab"), [r"BANK NAME"], "Tab in the editor", "text | BANK NAME"),
    (keys("Tab"), [r"M 1 TAG"], "Tab to a tag", "text | M 1 TAG"),
    (keys("Tab"), [r"M 1 FREQ \(Hz\)"], "Tab to a frequency", "text | M 1 FREQ (Hz)"),
    (keys("Escape"), [r"Corvex-Corvin"], "Esc"),
]

# Orca 48 answers a key pressed while the window itself is its locus of focus by looking up the
# focused control and taking it as the locus in silence; the app has by then moved the focus on
# Tab, so the focus event that follows is no change and the readout is not announced. The flat
# review after it proves the focus on the readout.
ORCA_48_FIRST_TAB = [(keys("Tab"), [r"^tab$"], "Tab to the readout (Orca 48: the key)")]

if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
