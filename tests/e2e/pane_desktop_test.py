"""The system page of the pane run in place changes the running desktop: the
pointer speed in the X server and in GNOME's settings, the GTK scroll-bar
arrows, the default file manager restarted as it ran, and the zoom setting
through the defaults tool in the pane's own bundle."""

import os
import plistlib
import re
import signal
import subprocess
import textwrap

import e2e_support as e2e
import pane_support as pane

BUNDLE = os.path.join(e2e.build_dir(), "Vantrel.prefPane")
HOST = os.path.join(e2e.build_dir(), "platform", "pane_host", "prefpane-host")
MOUSE = "Xvfb mouse"
ACCEL = "libinput Accel Speed"


def session(home, **extra):
    environment = {"XDG_CONFIG_HOME": os.path.join(home, ".config"),
                   "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
                   "GSETTINGS_BACKEND": "keyfile", "XDG_CURRENT_DESKTOP": "GNOME"}
    environment.update(extra)
    return environment


def in_place_window(home, **extra):
    process = e2e.start_program([HOST, BUNDLE], home, session(home, **extra))
    window = e2e.wait_for(lambda: pane.window_of() or process.poll() is not None, what="the settings window")
    assert process.poll() is None, "the host ended: %s" % (e2e.stop_program(process),)
    pane.press(window, "alt+y")  # the system page
    return process, window


def core_acceleration():
    out = subprocess.run(["xset", "q"], capture_output=True, text=True, check=True).stdout
    return re.search(r"acceleration:\s*(\S+)", out).group(1)


def libinput_speed():
    out = subprocess.run(["xinput", "list-props", MOUSE], capture_output=True, text=True, check=True).stdout
    found = re.search(re.escape(ACCEL) + r" \(\d+\):\s*(\S+)", out)
    return float(found.group(1)) if found else None


def gnome_speed(home):
    out = subprocess.run(["gsettings", "get", "org.gnome.desktop.peripherals.mouse", "speed"],
                         env=dict(os.environ, HOME=home, **session(home)), capture_output=True, text=True, check=True)
    return float(out.stdout)


def the_slider_changes_the_pointer_speed_after_the_load():
    subprocess.run(["xset", "m", "default"], check=True)
    subprocess.run(["xinput", "set-prop", "--type=float", MOUSE, ACCEL, "0.25"], check=True)
    try:
        with e2e.temp_home() as home:
            host, window = in_place_window(home)
            try:
                assert core_acceleration() == "2/1" and libinput_speed() == 0.25, "the load changed the pointer"
                assert gnome_speed(home) == 0.0
                pane.press(window, "alt+l", "End")  # the fastest end: 3.0
                e2e.wait_for(lambda: core_acceleration() == "4/1", what="the core acceleration at 4/1")
                e2e.wait_for(lambda: libinput_speed() == 1.0, what="libinput's speed at 1")
                e2e.wait_for(lambda: gnome_speed(home) == 1.0, what="GNOME's mouse speed at 1")
                pane.press(window, "Home")
                e2e.wait_for(lambda: core_acceleration() == "1/1", what="the core acceleration at 1/1")
                e2e.wait_for(lambda: libinput_speed() == -1.0, what="libinput's speed at -1")
            finally:
                e2e.stop_program(host)
    finally:
        subprocess.run(["xset", "m", "default"], check=True)


def a_radio_button_writes_the_gtk_arrows_and_keeps_the_users_css():
    with e2e.temp_home() as home:
        gtk = os.path.join(home, ".config", "gtk-3.0")
        os.makedirs(gtk)
        user_lines = "/* mine */\nwindow { background: #102030; }\n"
        with open(os.path.join(gtk, "gtk.css"), "w") as f:
            f.write(user_lines)
        host, window = in_place_window(home)
        try:
            assert not os.path.exists(os.path.join(gtk, "vantrel-scrollbar-arrows.css")), "written by the load"
            pane.press(window, "alt+b")  # together at the bottom and right
            arrows = os.path.join(gtk, "vantrel-scrollbar-arrows.css")
            e2e.wait_for(lambda: os.path.exists(arrows), what="the GTK arrows file")
            style = open(arrows).read()
            for prop, value in [("backward", "false"), ("forward", "true"), ("secondary-backward", "true"),
                                ("secondary-forward", "false")]:
                assert "-GtkScrollbar-has-%s-stepper: %s;" % (prop, value) in style, style
            pane.press(window, "alt+p")
            e2e.wait_for(lambda: "has-backward-stepper: true" in open(arrows).read(), what="all four arrows")
            css = open(os.path.join(gtk, "gtk.css")).read()
            assert css == '@import url("vantrel-scrollbar-arrows.css");\n' + user_lines, css
        finally:
            e2e.stop_program(host)


FILE_MANAGER = textwrap.dedent("""\
    #!/usr/bin/python3
    import os, signal, sys, time
    with open(os.environ["FM_LOG"], "a") as log:
        log.write("%d %s\\n" % (os.getpid(), " ".join(sys.argv[1:]) or "-"))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    while True:
        time.sleep(1)
    """)


def starts(log):
    try:
        return [line.split(" ", 1) for line in open(log).read().splitlines()]
    except FileNotFoundError:
        return []


def alive(pid):
    try:
        with open("/proc/%s/stat" % pid) as f:
            return f.read().split(") ", 1)[1][0] != "Z"
    except OSError:
        return False


def the_restart_button_restarts_the_default_file_manager_as_it_ran():
    with e2e.temp_home() as home:
        applications = os.path.join(home, ".local", "share", "applications")
        os.makedirs(applications)
        program = os.path.join(home, "test-files")
        with open(program, "w") as f:
            f.write(FILE_MANAGER)
        os.chmod(program, 0o755)
        with open(os.path.join(applications, "test-files.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Test Files\nExec=%s %%U\n"
                    "MimeType=inode/directory;\n" % program)
        log = os.path.join(home, "starts.log")
        environment = dict(os.environ, HOME=home, FM_LOG=log)
        # No file manager of this machine's own is seen: only the one installed here.
        system_data = os.path.join(home, "no-system-data")
        os.makedirs(system_data)
        environment["XDG_DATA_DIRS"] = system_data
        host, window = in_place_window(home, FM_LOG=log, XDG_DATA_DIRS=system_data)
        try:
            # None set as default yet: the page says so and starts nothing.
            pane.press(window, "alt+e")
            e2e.wait_for(lambda: "no default file manager" in e2e_stderr_so_far(host), what="the problem reported")
            with open(os.path.join(applications, "mimeapps.list"), "w") as f:
                f.write("[Default Applications]\ninode/directory=test-files.desktop\n")

            first = subprocess.Popen([program, "--draw-desktop"], env=environment, start_new_session=True)
            e2e.wait_for(lambda: len(starts(log)) == 1, what="the first copy")
            pane.press(window, "alt+e")
            e2e.wait_for(lambda: len(starts(log)) == 2, timeout=10, what="the file manager started again")
            assert first.wait(timeout=5) == 0, "the first copy was not ended cleanly"
            assert starts(log)[1][1] == "--draw-desktop", starts(log)

            os.kill(int(starts(log)[1][0]), signal.SIGTERM)
            e2e.wait_for(lambda: not alive(starts(log)[1][0]), what="the second copy ended")
            pane.press(window, "alt+e")
            e2e.wait_for(lambda: len(starts(log)) == 3, timeout=10, what="a start while none ran")
            assert starts(log)[2][1] == "-", "the entry's %U opens no file: " + starts(log)[2][1]
        finally:
            for pid, _ in starts(log):
                if alive(pid):
                    os.kill(int(pid), signal.SIGTERM)
            e2e.stop_program(host)


_stderr = {}


def e2e_stderr_so_far(process):
    """The host's stderr up to now, read without waiting for its end."""
    import fcntl
    stream = process.stderr
    flags = fcntl.fcntl(stream, fcntl.F_GETFL)
    fcntl.fcntl(stream, fcntl.F_SETFL, flags | os.O_NONBLOCK)
    chunk = stream.read()
    _stderr[process.pid] = _stderr.get(process.pid, "") + (chunk.decode(errors="replace") if chunk else "")
    return _stderr[process.pid]


def the_in_place_zoom_checkbox_runs_the_tool_of_its_bundle():
    with e2e.temp_home() as home:
        finder = os.path.join(home, "Library", "Preferences", "com.apple.finder.plist")
        host, window = in_place_window(home, PATH="/usr/sbin:/usr/bin:/bin")
        try:
            pane.press(window, "alt+z")
            e2e.wait_for(lambda: os.path.exists(finder), what="the file manager's preference file")
            with open(finder, "rb") as f:
                assert plistlib.load(f) == {"AnimateWindowZoom": True}
        finally:
            status, _, err = e2e.stop_program(host)
        assert "could not run" not in err, err


if __name__ == "__main__":
    e2e.run_cases(the_slider_changes_the_pointer_speed_after_the_load,
                  a_radio_button_writes_the_gtk_arrows_and_keeps_the_users_css,
                  the_restart_button_restarts_the_default_file_manager_as_it_ran,
                  the_in_place_zoom_checkbox_runs_the_tool_of_its_bundle)
