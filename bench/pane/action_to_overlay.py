# SPDX-License-Identifier: MIT
"""Time from a control action in the settings window (one step of the width
slider, typed as a key) to the running overlay drawing the new width, over
repeated steps: measured from the key press (including starting xdotool)
and from the moment the action's save is in the file. Needs a display and a
session bus (see run)."""

import os
import random
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "e2e"))
import e2e_support as e2e  # noqa: E402

READOUT_SIZE = (90, 19)


def thickness():
    """The thinnest side of the overlay's windows in one X query."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    sides = []
    for line in tree.splitlines():
        if '("RetikonX" "RetikonX")' not in line:
            continue
        size = line.split(")")[-1].split()[0].split("+")[0]
        width, height = (int(n) for n in size.split("x"))
        if (width, height) != READOUT_SIZE:
            sides.append(min(width, height))
    return min(sides) if sides else None


def overlay_running():
    """A RetikonX of this user that runs (one ended but not reaped does not count)."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % pid) as stat:
                fields = stat.read().split()
        except OSError:
            continue
        if fields[1] == "(RetikonX)" and fields[2] != "Z":
            return True
    return False


def main(steps=30):
    with e2e.temp_home() as home:
        # The pane in the build starts the overlay it carries.
        with e2e.settings_window(home) as (_, window):
            e2e.press(window, "alt+s")
            e2e.wait_for(overlay_running, what="RetikonX running")
            e2e.press(window, "alt+a")
            e2e.wait_for(lambda: thickness() == 5, what="the crosshair shown")
            e2e.press(window, "alt+w")
            latencies, after_save = [], []
            width = 5
            for _ in range(steps):
                width += 1
                # At a random point of the overlay's 0.1 s tick, as a user's hand would be.
                time.sleep(random.uniform(0, 0.1))
                start = time.monotonic()
                key = subprocess.Popen(["xdotool", "key", "Right"])
                e2e.wait_for(lambda: e2e.read_settings(home).get("WinWidth") == str(width), timeout=5, interval=0.0005,
                             what="width %d saved" % width)
                saved = time.monotonic()
                e2e.wait_for(lambda: thickness() == width, timeout=5, interval=0.001, what="width %d" % width)
                shown = time.monotonic()
                key.wait()
                latencies.append((shown - start) * 1000)
                after_save.append((shown - saved) * 1000)
            e2e.press(window, "alt+s")
            e2e.wait_for(lambda: not overlay_running(), what="RetikonX ending")
    for what, values in (("key press", latencies), ("save", after_save)):
        values.sort()
        print("%s to overlay change, %d steps: median %.1f ms, worst %.1f ms, best %.1f ms"
              % (what, steps, statistics.median(values), values[-1], values[0]))


main()
