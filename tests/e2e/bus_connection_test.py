# SPDX-License-Identifier: MIT
"""The change notification over a session bus that drops unfinished handshakes after
seconds (a real one: minutes) and restarts under the running overlay and window."""

import os
import socket
import subprocess
import tempfile

import e2e_support as e2e
from e2e_support import BLUE, RED

AUTH_TIMEOUT_MS = 3000
CONFIG = """<busconfig><type>session</type><listen>unix:path=%s</listen><auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
  <allow own="*"/></policy><limit name="auth_timeout">%d</limit></busconfig>"""


class PrivateBus:
    """A dbus-daemon of our own on a fixed socket path, so that a daemon started again
    has the same address; the session's address of this test points at it."""

    def __init__(self, folder):
        self.path, self.config = os.path.join(folder, "bus"), os.path.join(folder, "bus.conf")
        with open(self.config, "w") as f:
            f.write(CONFIG % (self.path, AUTH_TIMEOUT_MS))
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + self.path

    def start(self):
        if os.path.exists(self.path):
            os.unlink(self.path)
        self.daemon = subprocess.Popen(["dbus-daemon", "--nofork", "--config-file=" + self.config],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        e2e.wait_for(lambda: os.path.exists(self.path), what="the private bus")

    def stop(self):
        self.daemon.terminate()
        self.daemon.wait(timeout=5)

    def clients(self, pid):
        """The connections of a process that have finished their handshake."""
        listed = subprocess.run(["busctl", "--user", "list", "--unique", "--no-legend", "--no-pager"],
                                capture_output=True, text=True).stdout.splitlines()
        return [line for line in listed if line.split()[1] == str(pid)]

    def dropped_an_idle_connection(self):
        """Waits until the daemon hangs up on a connection that never authenticates:
        the proof that the timeout has passed for every connection made before."""
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as idle:
            idle.connect(self.path)
            idle.settimeout(4 * AUTH_TIMEOUT_MS / 1000)
            return idle.recv(1) == b""


def the_window_reaches_the_overlay_past_the_timeout_and_a_bus_restart():
    with e2e.temp_home() as home, tempfile.TemporaryDirectory(prefix="retikon-bus-") as folder:
        bus = PrivateBus(folder)
        bus.start()
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10)
        try:
            with e2e.retikonx(home) as overlay, e2e.settings_window(home) as (host, window):
                e2e.xdotool("mousemove", 700, 300)
                e2e.wait_for(e2e.arms_in(RED, 700, 300, 10), what="the red crosshair")
                assert bus.dropped_an_idle_connection(), "the bus kept a connection that never authenticated"
                connections = len(bus.clients(host.pid))
                e2e.press(window, "alt+w", "Right")
                e2e.wait_for(lambda: e2e.arm_thickness(RED) == 6,
                             what="the width 6 saved in the window drawn by the overlay")
                # Qt has a connection of its own; the window's was kept alive, not made anew.
                assert len(bus.clients(host.pid)) == connections, "the window's connection did not outlive the timeout"

                bus.stop()
                e2e.wait_for(lambda: "lost the D-Bus session bus" in overlay.output(), what="RetikonX losing the bus")
                # Saved while nobody could be told: the overlay reads it once it is back.
                e2e.write_settings(home, colour=(0, 0, 1), retikon=1, DispKind=1, WinWidth=5, distance=10)
                bus.start()
                e2e.wait_for(lambda: "connected to the D-Bus session bus again" in overlay.output(),
                             what="RetikonX connecting again")
                e2e.wait_for(e2e.arms_in(BLUE, 700, 300, 10), what="the blue crosshair saved while the bus was away")
                e2e.press(window, "alt+s")
                e2e.wait_for(lambda: overlay.poll() is not None, what="RetikonX quitting on the save")
                assert host.poll() is None, "the host ended"
                lines = overlay.output().splitlines()
        finally:
            bus.stop()
    assert len(lines) == 2 and "lost the D-Bus session bus" in lines[0], lines
    assert "connected to the D-Bus session bus again" in lines[1], lines


if __name__ == "__main__":
    e2e.run_cases(the_window_reaches_the_overlay_past_the_timeout_and_a_bus_restart)
