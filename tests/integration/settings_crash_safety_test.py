"""Saves killed at random moments never leave a partial settings file."""
import glob
import os
import plistlib
import random
import signal
import subprocess
import tempfile
import time
import unittest

from probe import PROBE, load

KILLS = int(os.environ.get("RETIKON_KILLS", "300"))
KEYS = ("WinColor2", "WinWidth", "keys", "retikon", "DispKind", "Locate", "shadow", "distance")


class CrashSafety(unittest.TestCase):
    def test_every_file_left_by_a_killed_saver_is_complete(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "com.Halvix.RetikonX.plist")
            with open(path, "wb") as f:
                plistlib.dump({"handAdded": "keep me"}, f)
            rng = random.Random(20261206)
            widths = set()
            for _ in range(KILLS):
                saver = subprocess.Popen([PROBE, "save-loop", path])
                time.sleep(rng.uniform(0.0, 0.02))
                saver.send_signal(signal.SIGKILL)
                saver.wait()
                with open(path, "rb") as f:
                    stored = plistlib.load(f)
                self.assertEqual(stored["handAdded"], "keep me")
                if stored == {"handAdded": "keep me"}:
                    continue  # killed before its first save finished: the old file stands whole
                for key in KEYS:
                    self.assertIn(key, stored)
                width = int(stored["WinWidth"])
                self.assertEqual(int(stored["distance"]), -width)
                self.assertEqual(load(path)["s_WinWidth"], width)
                widths.add(width)
            # The kills landed at many different moments of the save cycle.
            self.assertGreater(len(widths), 10)
            leftovers = len(glob.glob(os.path.join(folder, ".*.tmp")))
            # The next completed save clears what the killed savers left.
            subprocess.run([PROBE, "save", path], check=True)
            self.assertEqual(glob.glob(os.path.join(folder, ".*.tmp")), [])
            print(f"{KILLS} kills, {len(widths)} distinct widths, {leftovers} temporaries left, then removed")


if __name__ == "__main__":
    unittest.main()
