# SPDX-License-Identifier: MIT
"""The system page changes the running desktop after its load, never during it: pointer
speed in the X server, GNOME and a fresh Xfce account, GTK scroll-bar arrows beside the
user's CSS, the zoom through the defaults tool of the pane's bundle, the default file
manager restarted as it ran."""

import contextlib
import os
import plistlib
import re
import signal
import subprocess

import e2e_support as e2e

MOUSE = "Xvfb mouse"
XFCONFD = "/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd"
ACCEL = "libinput Accel Speed"
USER_CSS = "/* mine */\nwindow { background: #102030; }\n"
# A file manager that notes each start with its arguments and ends cleanly on SIGTERM.
FILE_MANAGER = """#!/usr/bin/python3
import os, signal, sys, time
open(os.environ["FM_LOG"], "a").write("%d %s\\n" % (os.getpid(), " ".join(sys.argv[1:]) or "-"))
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
time.sleep(600)
"""


def first_group(argv, pattern, **env):
    out = subprocess.run(argv, capture_output=True, text=True, check=True, env=dict(os.environ, **env)).stdout
    return re.search(pattern, out).group(1)


def pointer_speeds():
    return (first_group(["xset", "q"], r"acceleration:\s*(\S+)"),
            float(first_group(["xinput", "list-props", MOUSE], re.escape(ACCEL) + r" \(\d+\):\s*(\S+)")))


def starts(log):
    """(pid, arguments) of every start of the file manager."""
    with open(log, "a+") as f:
        f.seek(0)
        return [line.split(" ", 1) for line in f.read().splitlines()]


def alive(pid):
    with contextlib.suppress(OSError), open("/proc/%s/stat" % pid) as f:
        return f.read().split(") ", 1)[1][0] != "Z"
    return False


def global_preferences(home):
    path = os.path.join(home, "Library", "Preferences", ".GlobalPreferences.plist")
    with contextlib.suppress(FileNotFoundError):
        return plistlib.loads(open(path, "rb").read())
    return None


def the_system_page_changes_the_desktop():
    subprocess.run(["xset", "m", "default"], check=True)
    subprocess.run(["xinput", "set-prop", "--type=float", MOUSE, ACCEL, "0.25"], check=True)
    with e2e.temp_home() as home:
        config, data = os.path.join(home, ".config"), os.path.join(home, ".local", "share")
        session = dict(XDG_CONFIG_HOME=config, XDG_DATA_HOME=data, GSETTINGS_BACKEND="keyfile",
                       XDG_CURRENT_DESKTOP="GNOME")
        gtk = os.path.join(config, "gtk-3.0")
        e2e.write_file(os.path.join(gtk, "gtk.css"), USER_CSS)
        arrows = os.path.join(gtk, "vantrel-scrollbar-arrows.css")
        finder = os.path.join(home, "Library", "Preferences", "com.apple.finder.plist")
        program, log = os.path.join(home, "test-files"), os.path.join(home, "starts.log")
        e2e.write_file(program, FILE_MANAGER, 0o755)
        e2e.write_file(os.path.join(data, "applications", "test-files.desktop"),
              "[Desktop Entry]\nType=Application\nName=Test Files\nExec=%s %%U\nMimeType=inode/directory;\n" % program)
        # No file manager of this machine's own is seen, only the one installed here; the
        # schemas stay where they are. A defaults tool on the PATH would not be the bundle's.
        no_system_data = os.path.join(home, "no-system-data")
        os.makedirs(no_system_data)
        environment = dict(session, FM_LOG=log, XDG_DATA_DIRS=no_system_data, PATH="/usr/sbin:/usr/bin:/bin",
                           GSETTINGS_SCHEMA_DIR="/usr/share/glib-2.0/schemas")

        def gnome_speed():
            return float(first_group(["gsettings", "get", "org.gnome.desktop.peripherals.mouse", "speed"], "(.*)",
                               HOME=home, **session))
        try:
            with e2e.settings_window(home, **environment) as (host, window):
                e2e.press(window, "alt+y")  # the system page
                assert pointer_speeds() == ("2/1", 0.25) and gnome_speed() == 0.0, "the load changed the pointer"
                assert not os.path.exists(arrows) and not os.path.exists(finder), "the load wrote"
                assert global_preferences(home) is None, "the load wrote the global preferences"
                e2e.press(window, "alt+l", "End")  # the fastest end: 3.0
                e2e.wait_for(lambda: (global_preferences(home) or {}).get("com.apple.mouse.scaling") == 3.0,
                             what="a fresh account's global preferences made by the first change")
                e2e.wait_for(lambda: pointer_speeds() == ("4/1", 1.0), what="the X server's pointer at its fastest")
                e2e.wait_for(lambda: gnome_speed() == 1.0, what="GNOME's mouse speed at 1")
                e2e.press(window, "Home")
                e2e.wait_for(lambda: pointer_speeds() == ("1/1", -1.0), what="the X server's pointer at its slowest")

                e2e.press(window, "alt+b")  # together at the bottom and right
                e2e.wait_for(lambda: os.path.exists(arrows), what="the GTK arrows file")
                style = open(arrows).read()
                for prop, value in [("backward", "false"), ("forward", "true"), ("secondary-backward", "true"),
                                    ("secondary-forward", "false")]:
                    assert "-GtkScrollbar-has-%s-stepper: %s;" % (prop, value) in style, style
                e2e.press(window, "alt+p")
                e2e.wait_for(lambda: "has-backward-stepper: true" in open(arrows).read(), what="all four arrows")
                css = open(os.path.join(gtk, "gtk.css")).read()
                assert css == '@import url("vantrel-scrollbar-arrows.css");\n' + USER_CSS, css

                e2e.press(window, "alt+z")
                e2e.wait_for(lambda: os.path.exists(finder), what="the file manager's preference file")
                assert plistlib.loads(open(finder, "rb").read()) == {"AnimateWindowZoom": True}

                # None set as default yet: the page says so and starts nothing.
                e2e.press(window, "alt+e")
                e2e.wait_for(lambda: "no default file manager" in host.output(), what="the problem reported")
                e2e.write_file(os.path.join(data, "applications", "mimeapps.list"),
                               "[Default Applications]\ninode/directory=test-files.desktop\n")
                first = subprocess.Popen([program, "--draw-desktop"], env=dict(os.environ, HOME=home, FM_LOG=log),
                                         start_new_session=True)
                e2e.wait_for(lambda: len(starts(log)) == 1, what="the first copy")
                e2e.press(window, "alt+e")
                e2e.wait_for(lambda: len(starts(log)) == 2, what="the file manager started again")
                assert first.wait(timeout=5) == 0, "the first copy was not ended cleanly"
                assert starts(log)[1][1] == "--draw-desktop", starts(log)
                os.kill(int(starts(log)[1][0]), signal.SIGTERM)
                e2e.wait_for(lambda: not alive(starts(log)[1][0]), what="the second copy ended")
                e2e.press(window, "alt+e")
                e2e.wait_for(lambda: len(starts(log)) == 3, what="a start while none ran")
                assert starts(log)[2][1] == "-", "the entry's %U opens no file: " + starts(log)[2][1]
                assert "could not run" not in host.output(), host.output()
        finally:
            subprocess.run(["xset", "m", "default"], check=True)


def xfconf_acceleration(device):
    reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.xfce.Xfconf", "/org/xfce/Xfconf",
                            "org.xfce.Xfconf.GetProperty", "string:pointers", "string:/%s/Acceleration" % device],
                           capture_output=True, text=True).stdout
    found = re.search(r"double (\S+)", reply)
    return float(found.group(1)) if found else None


def xfconf_on_the_bus():
    reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                            "org.freedesktop.DBus.NameHasOwner", "string:org.xfce.Xfconf"], capture_output=True, text=True)
    return "boolean true" in reply.stdout


def a_fresh_xfce_account_keeps_its_pointer_speed_in_xfconf():
    assert not xfconf_on_the_bus(), "an xfconfd of someone else's runs on this bus"
    with e2e.temp_home() as home:
        config = os.path.join(home, ".config")
        # Its own, in this home, with an empty pointers channel: the test's bus would start one elsewhere.
        with e2e.Program([XFCONFD], home, XDG_CONFIG_HOME=config) as daemon:
            e2e.wait_for(xfconf_on_the_bus, timeout=10, what="xfconfd on the bus")
            try:
                with e2e.settings_window(home, XDG_CURRENT_DESKTOP="XFCE") as (host, window):
                    e2e.press(window, "alt+y", "alt+l", "End")  # the fastest: Xfce's 10
                    e2e.wait_for(lambda: xfconf_acceleration(MOUSE.replace(" ", "_")) == 10.0, timeout=10,
                                 what="the mouse's acceleration made in xfconf")
                    assert xfconf_acceleration("Virtual_core_XTEST_pointer") is None, "XTEST is nobody's mouse"
                    assert "pointer speed" not in host.output(), host.output()
            finally:
                subprocess.run(["xset", "m", "default"], check=True)
            daemon.terminate()
            daemon.wait(timeout=10)
        assert os.path.exists(os.path.join(config, "xfce4", "xfconf", "xfce-perchannel-xml", "pointers.xml"))


if __name__ == "__main__":
    e2e.run_cases(the_system_page_changes_the_desktop, a_fresh_xfce_account_keeps_its_pointer_speed_in_xfconf)
