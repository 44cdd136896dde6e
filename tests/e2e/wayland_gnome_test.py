# SPDX-License-Identifier: MIT
"""RetikonX on a headless GNOME Shell (Wayland, XWayland): with the pointer extension
from the pane's bundle enabled, the crosshair meets the pointer over a native Wayland
window at successive positions (as XWayland places them, and in GNOME Shell's own picture
of the screen), and in hot-key mode shows while the key is held.
The pointer and the keys are driven through Mutter's remote-desktop interface."""

import os
import shutil
import subprocess
import tempfile

from e2e_support import BUNDLE, RETIKONX, run_cases, write_settings
from wayland_support import (Program, arms, crossing, enter_private_namespace,
                             private_session, red_arms, wait_for, xwayland)

enter_private_namespace()

from gi.repository import Gio, GLib  # noqa: E402  (after the session's bus is chosen)

UUID = "retikonx-pointer@halvix.com"
# The tests' own extension: it lets them read the screen back through GNOME Shell.
SCREENSHOT_ACCESS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gnome-screenshot-access")
REMOTE = "org.gnome.Mutter.RemoteDesktop"
NATIVE_WINDOW = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fullscreen_window.py")
CONTROL_L, ESCAPE = 0xFFE3, 0xFF1B


class Shell:
    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(self, service, path, interface, method, args=None, reply=None):
        return self.bus.call_sync(service, path, interface, method, args,
                                  GLib.VariantType(reply) if reply else None, Gio.DBusCallFlags.NONE, 5000,
                                  None).unpack()

    def pointer(self):
        """(x, y, modifiers) as the extension answers, or None while it does not."""
        try:
            return self.call("org.gnome.Shell", "/com/Halvix/RetikonX/Pointer", "com.Halvix.RetikonX.Pointer",
                             "GetPointer", reply="(iiu)")
        except GLib.Error:
            return None

    def start_input(self):
        # The session lives as long as this connection.
        self.session = self.call(REMOTE, "/org/gnome/Mutter/RemoteDesktop", REMOTE, "CreateSession",
                                 reply="(o)")[0]
        self.call(REMOTE, self.session, REMOTE + ".Session", "Start")

    def move_to(self, x, y):
        """Moves the pointer by the difference (the remote pointer has no absolute motion
        without a screen cast) and waits until it is there."""
        here = self.pointer()
        self.call(REMOTE, self.session, REMOTE + ".Session", "NotifyPointerMotionRelative",
                  GLib.Variant("(dd)", (float(x - here[0]), float(y - here[1]))))
        wait_for(lambda: self.pointer()[:2] == (x, y), what="the pointer at (%d, %d)" % (x, y))

    def leave_overview(self):
        """GNOME starts in the overview, where windows are pictures that take no pointer;
        Escape leaves it, once the shell is ready to take it, which a busy machine delays."""
        def left():
            active = self.call("org.gnome.Shell", "/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Get",
                               GLib.Variant("(ss)", ("org.gnome.Shell", "OverviewActive")), reply="(v)")[0]
            if active:
                self.key(ESCAPE, True)
                self.key(ESCAPE, False)
            return not active
        wait_for(left, what="the overview to close", interval=1.0)

    def shows_arms(self, x, y, reach=40):
        """Whether GNOME Shell's own picture of the screen has red arms on all four sides of (x, y)."""
        side = 2 * reach + 1
        with tempfile.TemporaryDirectory(prefix="retikon-shot-") as folder:
            path = os.path.join(folder, "area.png")
            done, _ = self.call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
                                "ScreenshotArea", GLib.Variant("(iiiibs)", (x - reach, y - reach, side, side, False, path)),
                                reply="(bs)")
            assert done, "GNOME Shell took no screenshot"
            rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
        return red_arms(lambda px, py: tuple(rgb[(py * side + px) * 3:][:3]), reach)

    def key(self, keysym, pressed):
        self.call(REMOTE, self.session, REMOTE + ".Session", "NotifyKeyboardKeysym",
                  GLib.Variant("(ub)", (keysym, pressed)))


def main():
    with private_session("GNOME") as home:
        extensions = os.path.join(home, ".local/share/gnome-shell/extensions")
        shutil.copytree(os.path.join(BUNDLE, "Contents/Resources/gnome-shell-extension"), os.path.join(extensions, UUID))
        shutil.copytree(SCREENSHOT_ACCESS, os.path.join(extensions, "screenshot-access@retikonx.test"))
        subprocess.run(["gsettings", "set", "org.gnome.shell", "enabled-extensions",
                        "['%s', 'screenshot-access@retikonx.test']" % UUID], check=True)
        with Program(["gnome-shell", "--headless", "--wayland", "--virtual-monitor", "1440x900"]) as shell_process:
            shell = Shell()
            wait_for(lambda: shell.pointer() or shell_process.poll() is not None, timeout=90,
                     what="GNOME Shell with the extension")
            assert shell_process.poll() is None, shell_process.output()
            x_client = xwayland(os.environ["XDG_RUNTIME_DIR"])
            shell.start_input()
            # The remote pointer exists from its first motion: the native window's seat has it from the start.
            shell.move_to(100, 100)
            # GNOME places a window where it likes: this one covers the screen, so the pointer is
            # over it wherever it goes.
            with Program(["/usr/bin/python3", "-u", NATIVE_WINDOW], WAYLAND_DISPLAY="wayland-0",
                         GDK_BACKEND="wayland") as native:
                wait_for(lambda: "configured" in native.output() or native.poll() is not None,
                         what="the native window")
                assert native.poll() is None, native.output()
                shell.leave_overview()

                def follows_over_the_native_window():
                    write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=0)
                    with Program([RETIKONX], home, WAYLAND_DISPLAY="wayland-0", **x_client) as overlay:
                        x, y = 720, 450
                        shell.move_to(x, y)
                        wait_for(lambda: "pointer entered" in native.output(),
                                 what="the pointer over the native window")
                        for x, y in ((x, y), (x + 37, y + 23)):
                            shell.move_to(x, y)
                            wait_for(lambda: crossing(arms(x_client)) == (x, y),
                                     what="the arms to meet at (%d, %d)" % (x, y))
                            wait_for(lambda: shell.shows_arms(x, y),
                                     what="GNOME Shell to show them at (%d, %d)" % (x, y))
                        assert "cannot follow" not in overlay.output(), overlay.output()

                def hot_key_shows_while_held():
                    write_settings(home, retikon=1, DispKind=0, keys=0x1000, WinWidth=5)
                    with Program([RETIKONX], home, WAYLAND_DISPLAY="wayland-0", **x_client):
                        x, y, _ = shell.pointer()
                        wait_for(lambda: not arms(x_client), what="no arms while no key is held")
                        shell.key(CONTROL_L, True)
                        wait_for(lambda: crossing(arms(x_client)) == (x, y), what="arms with Control")
                        shell.key(CONTROL_L, False)
                        wait_for(lambda: not arms(x_client), what="no arms once Control is up")

                run_cases(follows_over_the_native_window, hot_key_shows_while_held)


main()
