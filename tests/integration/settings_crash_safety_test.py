# SPDX-License-Identifier: MIT
"""Settings page saves killed at random moments never leave a partial settings
file, nor lose the keys of other programs, of every kind."""
import datetime
import glob
import os
import plistlib
import random
import signal
import subprocess
import tempfile
import time

import e2e_support as e2e

KILLS = int(os.environ.get("RETIKON_KILLS", "300"))
KEYS = ("WinColor2", "WinWidth", "keys", "retikon", "DispKind", "Locate", "shadow", "distance")
OTHER_KEYS = {"handAdded": "keep me", "negative": -12, "big": 2**40, "ratio": 0.25, "flag": True,
              "when": datetime.datetime(2020, 5, 17, 8, 30), "blob": b"\x00\xffabc",
              "nested": {"list": [1, "two", 3.5], "empty": {}}}


def every_file_left_by_a_killed_saver_is_complete():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "com.Halvix.RetikonX.plist")
        with open(path, "wb") as f:
            plistlib.dump(OTHER_KEYS, f, fmt=plistlib.FMT_BINARY)
        rng = random.Random(20261206)
        for _ in range(KILLS):
            before = os.stat(path).st_ino
            saver = subprocess.Popen([e2e.PROBE, path, "-1", "0"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
            # Killed somewhere in the saves after its first, however fast the machine runs them.
            e2e.wait_for(lambda: os.stat(path).st_ino != before, what="a save replacing the file")
            time.sleep(rng.uniform(0.0, 0.02))
            saver.send_signal(signal.SIGKILL)
            saver.wait()
            stored = plistlib.loads(open(path, "rb").read())
            assert all(stored[key] == value for key, value in OTHER_KEYS.items()), stored
            assert all(key in stored for key in KEYS) and int(stored["distance"]) == -int(stored["WinWidth"]), stored
            # What the page reads back is what was written.
            loaded = subprocess.run([e2e.PROBE, path, "0", "0"], capture_output=True, text=True, check=True).stdout
            assert loaded == "s_WinWidth=%s s_distance=%s\n" % (stored["WinWidth"], stored["distance"]), loaded
        # The next completed save clears what the killed savers left.
        subprocess.run([e2e.PROBE, path, "1", "0"], check=True, stdout=subprocess.DEVNULL)
        assert glob.glob(os.path.join(folder, ".*.tmp")) == []


if __name__ == "__main__":
    e2e.run_cases(every_file_left_by_a_killed_saver_is_complete)
