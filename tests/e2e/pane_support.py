"""What the settings pane's end-to-end tests share: installing the built pane
into a temporary HOME, the settings window of the real pane host, keys sent
to it, the overlay it starts and the login item it leaves."""

import contextlib
import os
import plistlib
import subprocess

import e2e_support as e2e


def pane_path(home):
    return os.path.join(home, "Library", "PreferencePanes", "Vantrel.prefPane")


def host_path(home):
    return os.path.join(home, ".local", "bin", "prefpane-host")


def autostart_entry(home):
    return os.path.join(home, ".config", "autostart", "RetikonX.desktop")


def install_pane(home):
    """The install command of the README, run for the user of home."""
    environment = dict(os.environ, HOME=home)
    environment.pop("XDG_CONFIG_HOME", None)
    subprocess.run([os.path.join(e2e.source_dir(), "pane", "install", "install-pane"), e2e.build_dir()],
                   env=environment, check=True, stdout=subprocess.DEVNULL)


def settings(home):
    """The settings file as a dictionary; empty while there is none."""
    try:
        with open(e2e.settings_path(home), "rb") as f:
            return plistlib.load(f)
    except (FileNotFoundError, plistlib.InvalidFileException):
        return {}


def settings_say(home, **expected):
    return lambda: all(settings(home).get(key) == value for key, value in expected.items())


def window_of(name="Vantrel"):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name],
                           capture_output=True, text=True).stdout.split()
    return found[0] if found else None


@contextlib.contextmanager
def settings_window(home):
    """The installed pane in the real host; yields (process, window id)."""
    environment = {"XDG_CONFIG_HOME": os.path.join(home, ".config")}
    with e2e.running([host_path(home), pane_path(home)], home, environment) as process:
        window = e2e.wait_for(lambda: window_of() or process.poll() is not None, what="the settings window")
        assert process.poll() is None, "the host ended: %s" % (e2e.stop_program(process),)
        yield process, window


def press(window, *keys):
    """Keys typed into the settings window: the controls' mnemonics reach
    the checkboxes and sliders as a user's keyboard would."""
    e2e.xdotool("windowfocus", "--sync", window)
    e2e.xdotool("key", "--clearmodifiers", *keys)


def processes_of(program):
    """Pids of the processes running program; a process that has ended but
    is not yet reaped does not count."""
    pids = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink("/proc/%s/exe" % pid) == program:
                pids.append(int(pid))
        except OSError:
            pass
    return pids


def overlay_processes(home):
    """Pids of the RetikonX programs that run from the pane installed in home."""
    return processes_of(os.path.join(pane_path(home), "Contents", "Resources", "RetikonX.app", "Contents", "MacOS",
                                     "RetikonX"))


def arm_thickness():
    """The thinnest side of the overlay's visible windows: the line width
    while the crosshair is shown; None while nothing is shown."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "RetikonX"],
                           capture_output=True, text=True).stdout.split()
    sides = []
    for window in found:
        out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True,
                             text=True).stdout
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        if "WIDTH" in values:
            sides.append(min(int(values["WIDTH"]), int(values["HEIGHT"])))
    return min(sides) if sides else None
