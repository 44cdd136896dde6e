# SPDX-License-Identifier: MIT
"""What the Wayland tests share: each runs in a mount namespace of its own with a
private /tmp/.X11-unix, so the X display its compositor's XWayland opens cannot meet
another test's or the X server of scripts/test (the rest of /tmp stays, since the
build may live there), with private session and system buses, a temporary HOME and
runtime folder. Needs root (CI runs as root)."""

import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile

from e2e_support import Program, wait_for

PRIVATE = "RETIKON_PRIVATE_NAMESPACE"


def enter_private_namespace():
    """Runs this script again in its own mount namespace; returns only there."""
    if os.environ.get(PRIVATE) == "1":
        os.makedirs("/tmp/.X11-unix", mode=0o1777, exist_ok=True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=1777", "tmpfs", "/tmp/.X11-unix"], check=True)
        return
    if os.geteuid() != 0:
        print("SKIP: a private mount namespace needs root")
        sys.exit(77)
    env = dict(os.environ, **{PRIVATE: "1"})
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"):
        env.pop(name, None)
    sys.exit(subprocess.call(["unshare", "--mount", "--propagation", "private", sys.executable] + sys.argv, env=env))


def bus(kind, folder):
    """A dbus-daemon of this kind ("session" or "system") listening in folder; its address."""
    config = os.path.join(folder, kind + ".conf")
    socket = os.path.join(folder, kind + "_bus")
    with open(config, "w") as f:
        f.write('<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN" '
                '"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">\n'
                "<busconfig><type>%s</type><listen>unix:path=%s</listen><auth>EXTERNAL</auth>"
                "%s<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                "<allow eavesdrop=\"true\"/><allow own=\"*\"/><allow user=\"*\"/></policy></busconfig>\n"
                % (kind, socket, "<standard_session_servicedirs/>" if kind == "session" else ""))
    subprocess.run(["dbus-daemon", "--config-file=" + config, "--fork"], check=True)
    return "unix:path=" + socket


@contextlib.contextmanager
def private_session(desktop, owner=None):
    """HOME, runtime folder and both buses set in os.environ for a session of this
    desktop; HOME and the runtime folder belong to owner (a pwd entry) when given."""
    folder = tempfile.mkdtemp(prefix="retikon-wayland-")
    os.chmod(folder, 0o755)
    home = os.path.join(folder, "home")
    runtime = os.path.join(folder, "runtime")
    os.makedirs(home)
    os.makedirs(runtime, mode=0o700)
    for path in (home, runtime) if owner else ():
        os.chown(path, owner.pw_uid, owner.pw_gid)
    # Before the buses start: what they start (dconf's writer, say) keeps to this home.
    os.environ.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP=desktop)
    try:
        os.environ.update(DBUS_SYSTEM_BUS_ADDRESS=bus("system", folder),
                          DBUS_SESSION_BUS_ADDRESS=bus("session", folder))
        yield home
    finally:
        # The buses and whatever they started for the session.
        for pid in processes_of(runtime):
            with contextlib.suppress(OSError):
                os.kill(pid, signal.SIGKILL)
        shutil.rmtree(folder, ignore_errors=True)


def processes_of(runtime):
    """The processes started for the session with this runtime folder."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError), open("/proc/%s/environ" % pid, "rb") as f:
            if b"XDG_RUNTIME_DIR=" + runtime.encode() in f.read().split(b"\0") and int(pid) != os.getpid():
                found.append(int(pid))
    return found


def xwayland(runtime):
    """The environment of an X client of the XWayland server started for this runtime
    folder (DISPLAY, and XAUTHORITY when it asks for one), once it listens."""
    def find():
        for pid in processes_of(runtime):
            with contextlib.suppress(OSError):
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    argv = f.read().split(b"\0")
                if argv[0].endswith(b"Xwayland"):
                    display = next((a.decode() for a in argv if a.startswith(b":")), None)
                    auth = argv[argv.index(b"-auth") + 1].decode() if b"-auth" in argv else None
                    if display and os.path.exists("/tmp/.X11-unix/X" + display[1:]):
                        return dict({"DISPLAY": display}, **({"XAUTHORITY": auth} if auth else {}))
        return None
    return wait_for(find, timeout=60, what="XWayland")


def arms(x_client):
    """The crosshair's visible arms on that X display (its client environment) as
    (x, y, width, height), or nothing."""
    env = dict(os.environ, **x_client)
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "RetikonX"], env=env,
                         capture_output=True, text=True, timeout=30).stdout.split()
    boxes = []
    for window in ids:
        out = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True, text=True, timeout=30).stdout
        values = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        with contextlib.suppress(KeyError, ValueError):
            boxes.append(tuple(int(values[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                                          "Width", "Height")))
    return boxes


def crossing(boxes):
    """Where the four arms of a crosshair point at, in X's coordinates, or None when they do not
    make one: two long horizontal arms in one band, two long vertical arms in one band."""
    horizontal = sorted(b for b in boxes if b[2] > b[3])
    vertical = sorted((b for b in boxes if b[3] > b[2]), key=lambda b: b[1])
    if len(horizontal) != 2 or len(vertical) != 2:
        return None
    (left, right), (upper, lower) = horizontal, vertical
    if left[1] != right[1] or upper[0] != lower[0]:
        return None
    return ((left[0] + left[2] + right[0]) / 2, (upper[1] + upper[3] + lower[1]) / 2)


def red_arms(pixel, reach):
    """Whether a picture of the square reaching that far round a crosshair's centre, read
    through pixel(x, y) -> (r, g, b), shows red arms on all four sides, clear of the middle."""
    def red(x, y):
        r, g, b = pixel(x, y)
        return r > 200 and g < 60 and b < 60
    return all(red(x, y) for x, y in ((reach - 30, reach), (reach + 30, reach), (reach, reach - 30), (reach, reach + 30)))


@contextlib.contextmanager
def native_window():
    """A native Wayland window (wev) on the compositor's display, once it is configured;
    what it prints (pointer enter and leave) is its output()."""
    with Program(["stdbuf", "-oL", "wev"], WAYLAND_DISPLAY="wayland-0") as native:
        wait_for(lambda: "configure" in native.output() or native.poll() is not None, timeout=30,
                 what="the native window")
        assert native.poll() is None, native.output()
        yield native


def over_the_window(move_to, native):
    """A place where the pointer is over the native window (which the window says), searched
    for from the screen's middle, since the compositor chooses where it goes; move_to(x, y)
    moves the pointer."""
    for x, y in ((720, 450), (320, 240), (1120, 240), (320, 660), (1120, 660), (100, 100)):
        move_to(x, y)
        with contextlib.suppress(AssertionError):
            wait_for(lambda: "wl_pointer] enter" in native.output(), what="")
            return x, y
    raise AssertionError("the pointer found no native window: %s" % native.output())


__all__ = ["Program", "wait_for", "enter_private_namespace", "private_session", "xwayland", "arms",
           "crossing", "red_arms", "native_window", "over_the_window"]
