"""The real settings window killed with SIGKILL at random moments while its
sliders are being driven: every settings file and global preferences file
left behind parses, holds a complete record, and keeps other programs' keys.
RETIKON_PANE_KILLS sets how many kills (a long run: 300)."""
import os
import plistlib
import random
import signal
import subprocess
import time

import e2e_support as e2e
import pane_support as pane

KILLS = int(os.environ.get("RETIKON_PANE_KILLS", "20"))
RECORD_KEYS = ("WinColor2", "WinWidth", "keys", "retikon", "DispKind", "Locate", "shadow", "distance")


def global_preferences_path(home):
    return os.path.join(home, "Library", "Preferences", ".GlobalPreferences.plist")


def load(path):
    with open(path, "rb") as f:
        return plistlib.load(f)


def drive_slider(window, on_system_page, rng):
    """Starts typing arrow keys into one of the window's sliders; returns the
    xdotool process, which goes on until killed."""
    e2e.xdotool("windowfocus", "--sync", window)
    focus = ["alt+y", "Tab", "Tab"] if on_system_page else ["alt+w"]
    steps = [rng.choice(["Right", "Left", "Right"]) for _ in range(400)]
    return subprocess.Popen(["xdotool", "key", "--clearmodifiers", "--delay", "3", *focus, *steps])


def test_killed_windows_leave_whole_files():
    rng = random.Random(61206)
    widths, speeds = set(), set()
    with e2e.temp_home() as home:
        pane.install_pane(home)
        # Both files are there, so their folder is too.
        os.makedirs(os.path.dirname(e2e.settings_path(home)), mode=0o700)
        with open(e2e.settings_path(home), "wb") as f:
            plistlib.dump({"retikon": "1", "handAdded": "keep me"}, f)
        with open(global_preferences_path(home), "wb") as f:
            plistlib.dump({"AppleScrollBarVariant": "Single", "com.apple.mouse.scaling": 1.0,
                           "com.apple.trackpad.scaling": 1.0, "otherProgram": ["keep", 1]}, f,
                          fmt=plistlib.FMT_BINARY)
        for kill in range(KILLS):
            host = e2e.start_program([pane.host_path(home), pane.pane_path(home)], home,
                                     {"XDG_CONFIG_HOME": os.path.join(home, ".config")})
            window = e2e.wait_for(pane.window_of, timeout=10, what="the settings window")
            keys = drive_slider(window, kill % 2 == 1, rng)
            time.sleep(rng.uniform(0.05, 0.6))
            host.send_signal(signal.SIGKILL)
            host.wait()
            keys.kill()
            keys.wait()
            e2e.wait_for(lambda: pane.window_of() is None, what="the window gone")

            record = load(e2e.settings_path(home))
            assert record["handAdded"] == "keep me"
            if "WinWidth" in record:
                assert all(key in record for key in RECORD_KEYS), record
                widths.add(record["WinWidth"])
            preferences = load(global_preferences_path(home))
            assert preferences["otherProgram"] == ["keep", 1], preferences
            assert preferences["AppleScrollBarVariant"] == "Single"
            assert preferences["com.apple.mouse.scaling"] == preferences["com.apple.trackpad.scaling"]
            speeds.add(preferences["com.apple.mouse.scaling"])
    print("%d kills; %d widths and %d pointer speeds seen in the files left behind"
          % (KILLS, len(widths), len(speeds)))
    # The kills landed while saves were going on, not only before them.
    assert len(widths) > 1 and len(speeds) > 1, (widths, speeds)


if __name__ == "__main__":
    e2e.run_cases(test_killed_windows_leave_whole_files)
