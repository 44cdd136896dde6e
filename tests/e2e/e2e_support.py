# SPDX-License-Identifier: MIT
"""What the script tests share, on the display and session bus they are given
(DISPLAY, DBUS_SESSION_BUS_ADDRESS) and the build that RETIKON_BUILD names."""

import contextlib
import os
import pathlib
import plistlib
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback

BUILD = os.environ["RETIKON_BUILD"]
RETIKONX = os.path.join(BUILD, "RetikonX.app", "Contents", "MacOS", "RetikonX")
BUNDLE = os.path.join(BUILD, "Vantrel.prefPane")
HOST = os.path.join(BUILD, "platform", "pane_host", "prefpane-host")
DEFAULTS = os.path.join(BUILD, "platform", "defaults", "defaults")
PROBE = os.path.join(BUILD, "tests", "tools", "settings_probe")
RED, GREEN, BLUE, WHITE = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)


@contextlib.contextmanager
def temp_home():
    """A HOME without ~/Library, removed afterwards with what runs in it still (an
    overlay that a pane started runs on detached)."""
    home = tempfile.mkdtemp(prefix="retikon-e2e-")
    try:
        yield home
    finally:
        for pid in filter(str.isdigit, os.listdir("/proc")):
            with contextlib.suppress(OSError), open("/proc/%s/environ" % pid, "rb") as f:
                if b"HOME=" + home.encode() in f.read().split(b"\0"):
                    os.kill(int(pid), signal.SIGKILL)
        shutil.rmtree(home, ignore_errors=True)


def settings_path(home):
    return os.path.join(home, "Library", "Preferences", "com.Halvix.RetikonX.plist")


def write_settings(home, colour=None, **values):
    """Scalars as texts, as the page stores them, colour (r, g, b[, a]) archived;
    in binary form, as other tools may write it (the page writes XML)."""
    content = {key: str(value) for key, value in values.items()}
    if colour is not None:
        content["WinColor2"] = struct.pack(">4f", *(tuple(colour) + (1.0,))[:4])
    path = settings_path(home)
    # A settings file stands for one the account has, so its folder is there.
    os.makedirs(os.path.dirname(path), mode=0o700, exist_ok=True)
    pathlib.Path(path + ".new").write_bytes(plistlib.dumps(content, fmt=plistlib.FMT_BINARY))
    os.replace(path + ".new", path)


def write_file(path, text, mode=0o644):
    """A file with its folders, as a program of the user's would have left it."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    pathlib.Path(path).write_text(text)
    os.chmod(path, mode)


def read_settings(home):
    """The settings file; empty while there is none."""
    with contextlib.suppress(FileNotFoundError, plistlib.InvalidFileException):
        return plistlib.loads(pathlib.Path(settings_path(home)).read_bytes())
    return {}


class Program(subprocess.Popen):
    """A program with HOME and the environment given, its output in a file."""

    def __init__(self, argv, home=None, **env):
        fd, self.log = tempfile.mkstemp(prefix="retikon-output-")
        environment = dict(os.environ, **env, **({"HOME": home} if home else {}))
        super().__init__(argv, env=environment, stdin=subprocess.DEVNULL, stdout=fd, stderr=fd)
        os.close(fd)

    def output(self):
        return pathlib.Path(self.log).read_text(errors="replace")

    def stop(self):
        """Ends the program if it still runs: (exit status, output)."""
        if self.poll() is None:
            self.terminate()
        self.wait(timeout=5)
        return self.returncode, self.output()

    def __exit__(self, *_):
        self.stop()
        os.remove(self.log)


def overlays(program=None):
    """Pids running program, or any RetikonX; one ended but not reaped has no exe and does not count."""
    pids = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError):
            exe = os.readlink("/proc/%s/exe" % pid)
            if (exe == os.path.realpath(program)) if program else os.path.basename(exe) == "RetikonX":
                pids.append(int(pid))
    return pids


def wait_for(condition, timeout=30.0, what="condition", interval=0.02):
    """Polls condition until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)
    return value


def holds_for(condition, duration):
    """True when condition stays true for the whole duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            return False
        time.sleep(0.05)
    return bool(condition())


class Screenshot:
    """The whole root window at one moment."""

    def __init__(self):
        size = subprocess.run(["xdotool", "getdisplaygeometry"], check=True, capture_output=True, text=True)
        self.width, self.height = map(int, size.stdout.split())
        self.rgb = subprocess.run(["/usr/bin/import", "-window", "root", "-depth", "8", "rgb:-"], check=True,
                                  capture_output=True).stdout

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def pixels(self, x0, y0, x1, y1):
        """The box [x0, x1) x [y0, y1), row by row."""
        return [self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)]


def arm_thickness(colour, x=300, v=300):
    """How many rows of the column at x, 20 either side of v, show the colour: a horizontal arm's width."""
    return Screenshot().pixels(x, v - 20, x + 1, v + 20).count(colour)


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def post_notification(name="Vantrl Notification", obj="com.Halvix.Vantrel"):
    """Posts the change notification the way a shell user would."""
    subprocess.run(["dbus-send", "--session", "--type=signal", "/com/Halvix/DistributedNotificationCenter",
                    "com.Halvix.DistributedNotificationCenter.Notification", "string:" + name, "string:" + obj],
                   check=True)


def windows(*search):
    return subprocess.run(["xdotool", "search"] + list(search), capture_output=True, text=True).stdout.split()


@contextlib.contextmanager
def retikonx(home, **env):
    """RetikonX on the settings in home, once it has made its five windows: a pointer
    moved before could be undone by the X server resetting when its last client goes."""
    with Program([RETIKONX], home, **env) as process:
        wait_for(lambda: len(windows("--classname", "RetikonX")) >= 5 or process.poll() is not None,
                 what="RetikonX's windows")
        yield process


def arms_in(colour, h, v, gap, tolerance=0, test=all):
    """A test that every arm (or with test=any, some arm) of the crosshair around (h, v)
    shows the colour, at a point clear of the gap and the round ends."""
    def shown():
        shot = Screenshot()
        return test(all(abs(a - e) <= tolerance for a, e in zip(shot.pixel(x, y), colour))
                    for x, y in ((h - gap - 40, v), (h + gap + 40, v), (h, v - gap - 40), (h, v + gap + 40)))
    return shown


@contextlib.contextmanager
def backdrop(x, y, width, height):
    """A white window (xev's), mapped after what runs; its output lists the clicks it gets."""
    with Program(["xev", "-geometry", "%dx%d+%d+%d" % (width, height, x, y), "-event", "button"]) as process:
        wait_for(lambda: Screenshot().pixel(x + width // 2, y + height // 2) == WHITE, what="the white backdrop")
        yield process


@contextlib.contextmanager
def settings_window(home, host=HOST, bundle=BUNDLE, **env):
    """The pane in the real host, its login items in home: (process, window id)."""
    env.setdefault("XDG_CONFIG_HOME", os.path.join(home, ".config"))
    with Program([host, bundle], home, **env) as process:
        found = wait_for(lambda: windows("--onlyvisible", "--name", "^Vantrel$") or process.poll() is not None,
                         what="the settings window")
        assert process.poll() is None, "the host ended: %s" % (process.stop(),)
        yield process, found[0]


def press(window, *keys):
    """Keys typed into the settings window, whose mnemonics reach its controls."""
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "--clearmodifiers", *keys)


def run_cases(*cases):
    """Runs every case, says how each went, and exits non-zero if any failed."""
    failed = []
    for case in cases:
        try:
            case()
        except Exception:
            traceback.print_exc()
            failed.append(case)
        print("FAIL" if case in failed else "PASS", case.__name__, flush=True)
    sys.exit(1 if failed else 0)
