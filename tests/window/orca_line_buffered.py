#!/usr/bin/python3
"""Runs Orca as /usr/bin/orca does, for a test that reads what it speaks from its debug file.

Orca writes that file through a buffer it never flushes; here the file is opened line-buffered, so
each decision to speak is on disk at once. Orca 43's start-up hang watchdog (10 s, not a user
setting) is raised: on a loaded two-core machine its start-up alone can take longer, and it then
goes silent (Orca 48 has none). Speech goes to no server: Orca still logs every utterance, and a
speech server without a sound device blocks Orca at its first interruption.
/usr/bin/orca is loaded first without running it, so that Orca's modules are imported in its own
order: Orca 48's speech module cannot be imported before the others.
Usage: orca_line_buffered.py DEBUG_FILE PREFERENCES_FOLDER
"""
import builtins
import runpy
import sys

debug_file, preferences = sys.argv[1], sys.argv[2]
system_open = builtins.open


def open_line_buffered(file, mode="r", *args, **kwargs):
    if file == debug_file and "w" in mode:
        return system_open(file, mode, buffering=1, encoding="utf-8", errors="replace")
    return system_open(file, mode, *args, **kwargs)


builtins.open = open_line_buffered
launcher = runpy.run_path("/usr/bin/orca", run_name="orca_launcher")
import orca.settings  # noqa: E402
import orca.speech  # noqa: E402

if hasattr(orca.settings, "timeoutTime"):
    orca.settings.timeoutTime = 120
orca.speech.init = lambda: None
# Orca refuses to start beside any other Orca of the user's, even one serving another D-Bus
# session (the user's own screen reader, or another check's); this one has a session of its own.
launcher["main"].__globals__["otherOrcas"] = lambda: []
sys.argv = ["orca", "--debug-file", debug_file, "--user-prefs", preferences]
sys.exit(launcher["main"]())
