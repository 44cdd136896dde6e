# SPDX-License-Identifier: MIT
"""RetikonX on a headless KWin (Wayland, XWayland): the overlay has KWin run its pointer
script from RetikonX.app, the crosshair meets the pointer over a native Wayland window at
successive positions (as XWayland places them, and in KWin's own picture of the screen),
and the script is gone once the overlay has quit, by its settings
or by SIGTERM. In hot-key mode Caps Lock, which KWin's key-state protocol tells, shows
the crosshair over the native window. The pointer and keys are moved through KWin's
fake input protocol (tests/tools/kwin_fake_pointer)."""

import os
import select
import shutil
import subprocess
import time

from e2e_support import BUILD, RETIKONX, post_notification, run_cases, write_settings
from wayland_support import (Program, arms, crossing, enter_private_namespace, native_window, over_the_window,
                             private_session, red_arms, wait_for, xwayland)

enter_private_namespace()

from gi.repository import Gio, GLib  # noqa: E402  (after the session's bus is chosen)

FAKE_POINTER = os.path.join(BUILD, "tests", "tools", "kwin_fake_pointer")
PLUGIN = "retikonx-pointer"
CAPS_LOCK = 58  # its Linux input key code


class KWin:
    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def script_loaded(self):
        """Whether KWin runs RetikonX's script; None while KWin's scripting does not answer."""
        try:
            return self.bus.call_sync("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "isScriptLoaded",
                                      GLib.Variant("(s)", (PLUGIN,)), GLib.VariantType("(b)"),
                                      Gio.DBusCallFlags.NONE, 5000, None).unpack()[0]
        except GLib.Error:
            return None

    def shows_arms(self, x, y, reach=40):
        """Whether KWin's own picture of the screen has red arms on all four sides of (x, y)."""
        side = 2 * reach + 1
        pipe = Gio.UnixFDList()
        read, write = os.pipe()
        pipe.append(write)
        os.close(write)
        try:
            reply = self.bus.call_with_unix_fd_list_sync(
                "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureArea",
                GLib.Variant("(iiuua{sv}h)", (x - reach, y - reach, side, side, {}, 0)), GLib.VariantType("(a{sv})"),
                Gio.DBusCallFlags.NONE, 10000, pipe, None)[0].unpack()[0]
            # Read what the reply says KWin writes, not up to the end: the bus library may hold its
            # copy of the pipe's write end for a while yet.
            size, data = reply["stride"] * reply["height"], b""
            deadline = time.monotonic() + 30
            while len(data) < size and select.select([read], [], [], max(0.0, deadline - time.monotonic()))[0]:
                chunk = os.read(read, size - len(data))
                if not chunk:
                    break
                data += chunk
        finally:
            os.close(read)
        assert len(data) == size, "KWin wrote %d of %d bytes" % (len(data), size)
        assert (reply["type"], reply["format"]) == ("raw", 6), reply  # premultiplied ARGB32: B, G, R, A bytes
        return red_arms(lambda px, py: tuple(reversed(data[py * reply["stride"] + px * 4:][:3])), reach)

    @staticmethod
    def move_to(x, y):
        subprocess.run([FAKE_POINTER, str(x), str(y)], check=True, timeout=30,
                       env=dict(os.environ, WAYLAND_DISPLAY="wayland-0"))

    @staticmethod
    def tap(key):
        subprocess.run([FAKE_POINTER, "--tap", str(key)], check=True, timeout=30,
                       env=dict(os.environ, WAYLAND_DISPLAY="wayland-0"))


def main():
    if not os.path.exists(FAKE_POINTER):
        print("SKIP: %s was not built (libwayland-dev, plasma-wayland-protocols)" % FAKE_POINTER)
        raise SystemExit(77)
    with private_session("KDE") as home:
        # The installed program carries a file capability that a container's root cannot take on: a plain copy.
        kwin_copy = os.path.join(os.environ["XDG_RUNTIME_DIR"], "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), kwin_copy)
        with Program([kwin_copy, "--virtual", "--xwayland", "--no-lockscreen", "--width", "1440", "--height", "900"],
                     KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1") as compositor:
            kwin = KWin()
            wait_for(lambda: kwin.script_loaded() is not None or compositor.poll() is not None, timeout=90,
                     what="KWin's scripting")
            assert compositor.poll() is None, compositor.output()
            x_client = xwayland(os.environ["XDG_RUNTIME_DIR"])
            with native_window() as native:

                def follows_over_the_native_window_and_takes_its_script_away_when_it_quits():
                    write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=0)
                    with Program([RETIKONX], home, WAYLAND_DISPLAY="wayland-0", **x_client) as overlay:
                        x, y = over_the_window(KWin.move_to, native)
                        for x, y in ((x, y), (x + 37, y + 23)):
                            KWin.move_to(x, y)
                            wait_for(lambda: crossing(arms(x_client)) == (x, y),
                                     what="the arms to meet at (%d, %d)" % (x, y))
                            wait_for(lambda: kwin.shows_arms(x, y), what="KWin to show them at (%d, %d)" % (x, y))
                        assert kwin.script_loaded(), "the script runs while the overlay does"
                        said = overlay.output()
                        assert "cannot follow" not in said and "does not let programs watch" not in said, said
                        write_settings(home, retikon=0)
                        post_notification()
                        wait_for(lambda: overlay.poll() is not None, what="the overlay to quit")
                        status, said = overlay.stop()
                    assert kwin.script_loaded() is False, "the script is gone with the overlay: %s %s" % (status, said)

                def hot_key_mode_says_what_it_cannot_do_and_a_terminated_overlay_takes_its_script_away():
                    write_settings(home, retikon=1, DispKind=0, keys=0x1000, WinWidth=5)
                    with Program([RETIKONX], home, WAYLAND_DISPLAY="wayland-0", **x_client) as overlay:
                        wait_for(lambda: "does not let programs watch" in overlay.output(),
                                 what="the overlay to say so")
                        assert not arms(x_client), "no key is held"
                        assert overlay.output().count("does not let programs watch") == 1, overlay.output()
                        assert kwin.script_loaded()
                        status, said = overlay.stop()  # SIGTERM, as at the session's end
                    assert (status, kwin.script_loaded()) == (0, False), said

                def caps_lock_alone_shows_it_over_the_native_window():
                    write_settings(home, retikon=1, DispKind=0, keys=0x0400, WinWidth=5)
                    with Program([RETIKONX], home, WAYLAND_DISPLAY="wayland-0", **x_client):
                        x, y = over_the_window(KWin.move_to, native)
                        wait_for(lambda: not arms(x_client), what="no arms while Caps Lock is off")
                        KWin.tap(CAPS_LOCK)
                        wait_for(lambda: crossing(arms(x_client)) == (x, y), what="arms with Caps Lock on")
                        KWin.tap(CAPS_LOCK)
                        wait_for(lambda: not arms(x_client), what="no arms once Caps Lock is off")

                run_cases(follows_over_the_native_window_and_takes_its_script_away_when_it_quits,
                          hot_key_mode_says_what_it_cannot_do_and_a_terminated_overlay_takes_its_script_away,
                          caps_lock_alone_shows_it_over_the_native_window)


main()
