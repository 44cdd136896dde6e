# SPDX-License-Identifier: MIT
"""Hand-edited settings files with the worst values a file can hold: RetikonX starts on
each, crosshair on, with nothing undefined (the sanitizer build watches), draws an
ordinary crosshair on the next ordinary file and quits cleanly when the file says so."""
import datetime
import math
import os
import plistlib
import struct

import e2e_support as e2e

INT_MAX, INT_MIN = 2**31 - 1, -2**31
KEYS = ("WinColor", "WinColor2", "WinWidth", "keys", "retikon", "DispKind", "Locate", "shadow", "distance")
ON = {"retikon": "1", "DispKind": "1", "Locate": "1", "shadow": "1"}
CASES = {
    "widest arms, farthest gap": {"WinWidth": str(INT_MAX), "distance": str(INT_MAX)},
    "widest arms, nearest gap": {"WinWidth": str(INT_MAX), "distance": str(INT_MIN)},
    "most negative width and gap": {"WinWidth": str(INT_MIN), "distance": str(INT_MIN)},
    "width beyond 32 bits": {"WinWidth": "99999999999999999999", "distance": "-99999999999999999999"},
    "negative width, positive gap": {"WinWidth": "-1", "distance": str(INT_MAX)},
    "width 1, most negative gap": {"WinWidth": "1", "distance": str(INT_MIN)},
    "arms far wider than the screen": {"WinWidth": "100000", "distance": "0"},
    # As large as a settings file may grow: bigger ones are refused unread.
    "huge texts": {key: "9" * 200_000 for key in ("WinWidth", "distance", "keys", "WinColor")},
    "empty texts": {key: "" for key in KEYS if key not in ON},
    "colour not finite": {"WinColor2": struct.pack(">4f", math.nan, 1, math.inf, 1)},
    "colour components out of range": {"WinColor2": struct.pack(">4f", 1e30, -5, 3, 40)},
}
for kind in ({"a": 1}, [1, 2], datetime.datetime(2001, 1, 1), b"\x01\x02", True, 3.5):
    CASES["every key a %s" % type(kind).__name__] = {key: kind for key in KEYS if key not in ON}


def every_bad_file_is_survived():
    failures = []
    with e2e.temp_home() as home:
        os.makedirs(os.path.dirname(e2e.settings_path(home)))
        for index, (name, values) in enumerate(CASES.items()):
            with open(e2e.settings_path(home), "wb") as f:
                plistlib.dump({**ON, **values}, f, fmt=plistlib.FMT_BINARY if index % 2 else plistlib.FMT_XML)
            with e2e.retikonx(home) as process:
                h, v = 300 + index * 7, 200 + index * 5
                e2e.xdotool("mousemove", h, v)
                try:
                    assert e2e.holds_for(lambda: process.poll() is None, 0.4), "RetikonX ended"
                    e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10)
                    e2e.post_notification()
                    e2e.wait_for(e2e.arms_in(e2e.RED, h, v, 10), what="an ordinary crosshair next")
                    e2e.write_settings(home, retikon=0)
                    e2e.post_notification()
                    e2e.wait_for(lambda: process.poll() is not None, what="RetikonX to quit")
                except AssertionError as failure:
                    failures.append("%s: %s" % (name, failure))
                status, output = process.stop()
            trouble = [line for line in output.splitlines() if "runtime error" in line or "Sanitizer" in line]
            if status != 0 or trouble:
                failures.append("%s: status %s %s %s" % (name, status, trouble[:3], output[-300:]))
    assert not failures, "\n".join(failures)


if __name__ == "__main__":
    e2e.run_cases(every_bad_file_is_survived)
