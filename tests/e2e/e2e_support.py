"""Shared helpers for the end-to-end tests: a temporary HOME, settings files,
starting and stopping the real programs, bounded waiting, screenshots with
pixel access, the pointer and keys through xdotool, and the change
notification on the session bus.

The tests run on the display and session bus they are given (DISPLAY and
DBUS_SESSION_BUS_ADDRESS), with RETIKON_BUILD naming the build folder.
"""

import contextlib
import os
import plistlib
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback

IMPORT = "/usr/bin/import"
CONVERT = "/usr/bin/convert"

NOTIFICATION_NAME = "Vantrl Notification"
NOTIFICATION_OBJECT = "com.Halvix.Vantrel"


def build_dir():
    return os.environ["RETIKON_BUILD"]


def source_dir():
    return os.environ.get("RETIKON_SOURCE", os.path.dirname(os.path.dirname(os.path.dirname(__file__))))


def retikonx_path():
    return os.path.join(build_dir(), "RetikonX.app", "Contents", "MacOS", "RetikonX")


# --- HOME and settings -------------------------------------------------------

@contextlib.contextmanager
def temp_home():
    """A HOME as bare as a fresh account's (no ~/Library), removed afterwards."""
    home = tempfile.mkdtemp(prefix="retikon-e2e-")
    try:
        yield home
    finally:
        shutil.rmtree(home, ignore_errors=True)


def settings_path(home):
    return os.path.join(home, "Library", "Preferences", "com.Halvix.RetikonX.plist")


def archived_colour(red, green, blue, alpha=1.0):
    """The stored form of a colour: four big-endian single-precision numbers."""
    return struct.pack(">4f", red, green, blue, alpha)


def write_settings(home, colour=None, **values):
    """Writes the settings file the way the settings page does: every scalar as
    text; colour is (r, g, b[, a]) stored as "WinColor2"."""
    content = {key: str(value) for key, value in values.items()}
    if colour is not None:
        content["WinColor2"] = archived_colour(*colour)
    path = settings_path(home)
    # A settings file stands for one the account has, so its folder is there.
    os.makedirs(os.path.dirname(path), mode=0o700, exist_ok=True)
    temporary = path + ".new"
    with open(temporary, "wb") as f:
        plistlib.dump(content, f)
    os.replace(temporary, path)


# --- programs ----------------------------------------------------------------

def start_program(argv, home=None, env=None):
    """Starts a program with its output collected; HOME set when given."""
    environment = dict(os.environ)
    if home is not None:
        environment["HOME"] = home
    if env:
        environment.update(env)
    return subprocess.Popen(argv, env=environment, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def stop_program(process, timeout=5):
    """Stops a program if it still runs; returns (exit status, stdout, stderr)."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
    try:
        out, err = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        out, err = process.communicate()
    return process.returncode, out.decode(errors="replace"), err.decode(errors="replace")


@contextlib.contextmanager
def running(argv, home=None, env=None):
    process = start_program(argv, home, env)
    try:
        yield process
    finally:
        stop_program(process)


class WaitTimeout(AssertionError):
    pass


def wait_for(condition, timeout=3.0, interval=0.02, what="condition"):
    """Polls condition until it returns a true value, which is returned; fails
    after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise WaitTimeout("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def holds_for(condition, duration, interval=0.05):
    """True when condition stays true for the whole duration: for checking that
    something does not happen."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            return False
        time.sleep(interval)
    return bool(condition())


# --- screen ------------------------------------------------------------------

class Screenshot:
    """The whole root window at one moment, with pixel access."""

    def __init__(self):
        with tempfile.TemporaryDirectory() as folder:
            png = os.path.join(folder, "shot.png")
            subprocess.run([IMPORT, "-window", "root", png], check=True)
            size = subprocess.run([CONVERT, png, "-format", "%w %h", "info:"], check=True,
                                  capture_output=True, text=True).stdout.split()
            self.width, self.height = int(size[0]), int(size[1])
            self.rgb = subprocess.run([CONVERT, png, "-depth", "8", "rgb:-"], check=True,
                                      capture_output=True).stdout
            self.png = open(png, "rb").read()

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.rgb[offset:offset + 3])

    def save(self, path):
        with open(path, "wb") as f:
            f.write(self.png)

    def count(self, colour, x0, y0, x1, y1, tolerance=0):
        """Pixels of the colour in the box [x0, x1) x [y0, y1)."""
        n = 0
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                if close(self.pixel(x, y), colour, tolerance):
                    n += 1
        return n


def close(actual, expected, tolerance=0):
    return all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def display_size():
    out = subprocess.run(["xdotool", "getdisplaygeometry"], check=True, capture_output=True, text=True).stdout
    width, height = out.split()
    return int(width), int(height)


# --- pointer and keys --------------------------------------------------------

def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


def move_pointer(x, y):
    xdotool("mousemove", x, y)


def pointer():
    out = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True, capture_output=True,
                         text=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"])


def key_down(*keys):
    xdotool("keydown", *keys)


def key_up(*keys):
    xdotool("keyup", *keys)


def click(button=1):
    xdotool("click", button)


# --- notifications -----------------------------------------------------------

def post_notification(name=NOTIFICATION_NAME, obj=NOTIFICATION_OBJECT):
    """Posts a distributed notification the way a shell user would."""
    subprocess.run(["dbus-send", "--session", "--type=signal", "/com/Halvix/DistributedNotificationCenter",
                    "com.Halvix.DistributedNotificationCenter.Notification",
                    "string:" + name, "string:" + obj], check=True)


# --- running cases -----------------------------------------------------------

def run_cases(*cases):
    """Runs each case function, reports it, and exits non-zero if any failed."""
    failed = 0
    for case in cases:
        try:
            case()
            print("PASS", case.__name__)
        except Exception:
            failed += 1
            print("FAIL", case.__name__)
            traceback.print_exc()
        sys.stdout.flush()
    print("%d of %d cases passed" % (len(cases) - failed, len(cases)))
    sys.exit(1 if failed else 0)
