"""Hand-edited settings files with the worst values a file can hold: RetikonX
runs on each with the crosshair on, never crashes or does anything undefined
(in the sanitizer build the sanitizers watch it), and still quits cleanly
when the file says so."""
import datetime
import math
import os
import plistlib
import struct

import e2e_support as e2e
import overlay_support as overlay

INT_MAX, INT_MIN = 2**31 - 1, -2**31
KEYS = ("WinColor", "WinColor2", "WinWidth", "keys", "retikon", "DispKind", "Locate", "shadow", "distance")
WRONG_TYPES = ({"a": 1}, [1, 2], datetime.datetime(2001, 1, 1), b"\x01\x02", True, 3.5)

ON = {"retikon": "1", "DispKind": "1", "Locate": "1", "shadow": "1"}

CASES = {
    "widest arms, farthest gap": {"WinWidth": str(INT_MAX), "distance": str(INT_MAX)},
    "most negative width and gap": {"WinWidth": str(INT_MIN), "distance": str(INT_MIN)},
    "width beyond 32 bits": {"WinWidth": "99999999999999999999", "distance": "-99999999999999999999"},
    "negative width, positive gap": {"WinWidth": "-1", "distance": str(INT_MAX)},
    "width 1, most negative gap": {"WinWidth": "1", "distance": str(INT_MIN)},
    "mask not a number": {"keys": float("nan"), "DispKind": "0"},
    "mask infinite": {"keys": float("inf"), "DispKind": "0"},
    "mask minus infinity": {"keys": float("-inf"), "DispKind": "0"},
    # As large as a settings file may grow: bigger ones are refused unread.
    "huge texts": {key: "9" * 200_000 for key in ("WinWidth", "distance", "keys", "WinColor")},
    "empty texts": {key: "" for key in KEYS if key not in ON},
    "colour not finite": {"WinColor2": struct.pack(">4f", math.nan, 1, math.inf, 1)},
    "colour components out of range": {"WinColor2": struct.pack(">4f", 1e30, -5, 3, 40)},
}
for kind in WRONG_TYPES:
    CASES["every key a %s" % type(kind).__name__] = {key: kind for key in KEYS if key not in ON}
for length in (0, 1, 4, 15, 17, 32, 4096):
    CASES["colour archive of %d bytes" % length] = {"WinColor2": b"\x3f" * length}


def write_file(home, values, binary):
    os.makedirs(os.path.dirname(e2e.settings_path(home)), exist_ok=True)
    with open(e2e.settings_path(home), "wb") as f:
        plistlib.dump({**ON, **values}, f, fmt=plistlib.FMT_BINARY if binary else plistlib.FMT_XML)


def sanitizer_trouble(stderr):
    return [line for line in stderr.splitlines()
            if "runtime error" in line or "AddressSanitizer" in line or "LeakSanitizer" in line]


def test_every_bad_file_is_survived():
    failures = []
    with e2e.temp_home() as home:
        for index, (name, values) in enumerate(CASES.items()):
            write_file(home, values, binary=index % 2 == 1)
            process = e2e.start_program([e2e.retikonx_path()], home)
            try:
                e2e.wait_for(lambda: overlay.windows_made(process), what="RetikonX's windows")
                e2e.move_pointer(300 + index * 7, 200 + index * 5)
                alive = e2e.holds_for(lambda: process.poll() is None, 0.4)
                write_file(home, {"retikon": "0"}, binary=False)
                e2e.post_notification()
                e2e.wait_for(lambda: process.poll() is not None, timeout=10, what="RetikonX to quit")
            finally:
                status, _, err = e2e.stop_program(process)
            trouble = sanitizer_trouble(err)
            if not alive or status != 0 or trouble:
                failures.append("%s: alive=%s status=%s %s %s" % (name, alive, status, trouble[:3], err[-300:]))
    print("%d bad files tried" % len(CASES))
    assert not failures, "\n".join(failures)


if __name__ == "__main__":
    e2e.run_cases(test_every_bad_file_is_survived)
