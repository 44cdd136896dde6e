"""The change notification over a session bus that drops connections whose
handshake is left unfinished after a few seconds, as a session bus does
after minutes, and over a bus that restarts under the running overlay."""

import contextlib
import os
import socket
import subprocess
import tempfile
import time

import e2e_support as e2e
import overlay_support as ov
import pane_support as pane

AUTH_TIMEOUT_MS = 3000
CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%s</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
  <limit name="auth_timeout">%d</limit>
</busconfig>
"""


class PrivateBus:
    """A dbus-daemon of our own on a fixed socket path, so that a daemon
    started again has the same address."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "bus")
        self.config = os.path.join(folder, "bus.conf")
        with open(self.config, "w") as f:
            f.write(CONFIG % (self.path, AUTH_TIMEOUT_MS))
        self.address = "unix:path=" + self.path
        self.process = None

    def start(self):
        with contextlib.suppress(FileNotFoundError):
            os.unlink(self.path)
        self.process = subprocess.Popen(["dbus-daemon", "--nofork", "--config-file=" + self.config],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        e2e.wait_for(self.answers, what="the private bus")

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=5)

    def answers(self):
        return subprocess.run(["dbus-send", "--bus=" + self.address, "--print-reply", "--dest=org.freedesktop.DBus",
                               "/org/freedesktop/DBus", "org.freedesktop.DBus.GetId"],
                              capture_output=True).returncode == 0

    def call(self, method, *arguments):
        out = subprocess.run(["dbus-send", "--bus=" + self.address, "--print-reply", "--dest=org.freedesktop.DBus",
                              "/org/freedesktop/DBus", "org.freedesktop.DBus." + method] + list(arguments),
                             capture_output=True, text=True).stdout
        return [line.split(None, 1)[1].strip('"') for line in out.splitlines()[1:]
                if line.split()[:1] in (["string"], ["uint32"])]

    def clients(self, pid):
        """The connections of a process that have finished their handshake."""
        return sum(1 for name in self.call("ListNames")
                   if name.startswith(":") and self.call("GetConnectionUnixProcessID", "string:" + name) == [str(pid)])

    def dropped_an_idle_connection(self):
        """Waits until the daemon hangs up on a connection that never
        authenticates: the proof that the timeout has passed for every
        connection made before."""
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as idle:
            idle.connect(self.path)
            idle.settimeout(4 * AUTH_TIMEOUT_MS / 1000)
            return idle.recv(1) == b""


@contextlib.contextmanager
def private_bus():
    """The bus, and the session's address pointing at it, for the programs
    started here and for dbus-send."""
    saved = os.environ.get("DBUS_SESSION_BUS_ADDRESS")
    with tempfile.TemporaryDirectory(prefix="retikon-bus-") as folder:
        bus = PrivateBus(folder)
        bus.start()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.address
        try:
            yield bus
        finally:
            if saved is None:
                os.environ.pop("DBUS_SESSION_BUS_ADDRESS", None)
            else:
                os.environ["DBUS_SESSION_BUS_ADDRESS"] = saved
            bus.stop()


@contextlib.contextmanager
def retikonx_logging_to(home, log):
    """RetikonX with its standard error in a file that can be read while it runs."""
    environment = dict(os.environ, HOME=home)
    with open(log, "w") as err:
        process = subprocess.Popen([e2e.retikonx_path()], env=environment, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=err)
    try:
        yield process
    finally:
        if process.poll() is None:
            process.terminate()
        process.wait(timeout=5)


def cpu_seconds(pid):
    fields = open("/proc/%d/stat" % pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def a_window_left_open_past_the_timeout_still_reaches_the_overlay():
    with e2e.temp_home() as home, private_bus() as bus:
        pane.install_pane(home)
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1)
        with ov.retikonx(home) as overlay, pane.settings_window(home) as (host, window):
            assert bus.dropped_an_idle_connection(), "the bus kept a connection that never authenticated"
            connections = bus.clients(host.pid)
            pane.press(window, "alt+s")
            e2e.wait_for(pane.settings_say(home, retikon="0"), what="the enabled flag 0 saved")
            e2e.wait_for(lambda: overlay.poll() is not None, timeout=2, what="RetikonX quitting on the notification")
            # Qt has a connection of its own; the window's was kept alive, not made anew.
            assert bus.clients(host.pid) == connections, "the window's connection did not outlive the timeout"
            assert host.poll() is None, "the host ended"


def the_overlay_hears_again_once_the_bus_is_back():
    with e2e.temp_home() as home, private_bus() as bus:
        log = os.path.join(home, "retikonx.err")
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10)
        with retikonx_logging_to(home, log) as overlay:
            e2e.move_pointer(700, 300)
            e2e.wait_for(ov.crosshair_shown(ov.RED, 700, 300, 5, 10), what="the red crosshair")

            bus.stop()
            # Away for long enough to be tried again several times.
            before = cpu_seconds(overlay.pid)
            time.sleep(2)
            assert cpu_seconds(overlay.pid) - before < 0.3, "RetikonX was busy while the bus was away"
            bus.start()
            e2e.wait_for(lambda: "connected to the D-Bus session bus again" in open(log).read(), timeout=15, what="RetikonX connecting again")

            e2e.write_settings(home, colour=(0, 0, 1), retikon=1, DispKind=1, WinWidth=5, distance=10)
            e2e.post_notification()
            e2e.wait_for(ov.crosshair_shown(ov.BLUE, 700, 300, 5, 10), what="the blue crosshair")
            e2e.write_settings(home, colour=(0, 0, 1), retikon=0, DispKind=1)
            e2e.post_notification()
            e2e.wait_for(lambda: overlay.poll() is not None, timeout=2, what="RetikonX quitting")
        lines = open(log).read().splitlines()
        assert len(lines) == 2 and "lost the D-Bus session bus" in lines[0] and "connected to the D-Bus session bus again" in lines[1], lines


if __name__ == "__main__":
    e2e.run_cases(a_window_left_open_past_the_timeout_still_reaches_the_overlay,
                  the_overlay_hears_again_once_the_bus_is_back)
