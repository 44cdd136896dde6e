# SPDX-License-Identifier: MIT
"""The settings window, installed and in place, starts the overlay its pane carries
with a login item, changes and ends it, and closes from the keyboard; uninstalling
takes back what the pane added to GTK; the programs say what they cannot do."""

import os
import signal
import subprocess

import e2e_support as e2e

ENTRY = "%s/.config/autostart/RetikonX.desktop"
GTK_IMPORT = '@import url("vantrel-scrollbar-arrows.css");\n'

OVERLAY = os.path.join("Contents", "Resources", "RetikonX.app", "Contents", "MacOS", "RetikonX")


def overlays(pane=e2e.BUNDLE):
    return e2e.overlays(os.path.join(pane, OVERLAY))


def closed_by(host, window, keys):
    e2e.press(window, keys)
    e2e.wait_for(lambda: host.poll() is not None, what="the window closed by " + keys)
    assert host.returncode == 0, host.output()


def the_installed_pane_runs_follows_and_ends_the_overlay():
    with e2e.temp_home() as home:
        environment = {key: value for key, value in os.environ.items() if key != "XDG_CONFIG_HOME"} | {"HOME": home}
        install_pane = os.path.join(os.environ["RETIKON_SOURCE"], "pane", "install", "install-pane")
        subprocess.run([install_pane, e2e.BUILD], env=environment, check=True, stdout=subprocess.DEVNULL)
        pane = os.path.join(home, "Library", "PreferencePanes", "Vantrel.prefPane")
        with e2e.settings_window(home, os.path.join(home, ".local", "bin", "prefpane-host"), pane) as (host, window):
            e2e.xdotool("mousemove", 700, 300)
            e2e.press(window, "alt+s")
            e2e.wait_for(lambda: e2e.read_settings(home).get("retikon") == "1", what="the enabled flag saved")
            e2e.wait_for(lambda: overlays(pane), what="RetikonX running")
            e2e.wait_for(lambda: os.path.exists(ENTRY % home), what="the login item")
            text = open(ENTRY % home).read()
            assert "Type=Application\n" in text and "Name=RetikonX\n" in text, text
            assert 'Exec="%s"' % os.path.join(pane, OVERLAY) in text, text

            e2e.press(window, "alt+a")
            e2e.wait_for(lambda: e2e.read_settings(home).get("DispKind") == "1", what="display kind always saved")
            e2e.wait_for(lambda: e2e.arm_thickness(e2e.GREEN) == 5, what="the crosshair shown always, 5 points wide")
            e2e.press(window, "alt+w", "Right", "Right")
            e2e.wait_for(lambda: e2e.read_settings(home).get("WinWidth") == "7", what="width 7 saved")
            e2e.wait_for(lambda: e2e.arm_thickness(e2e.GREEN) == 7, what="the overlay drawing 7 points wide")

            e2e.press(window, "alt+s")
            e2e.wait_for(lambda: not overlays(pane), what="RetikonX ending")
            assert e2e.read_settings(home)["retikon"] == "0" and not os.path.exists(ENTRY % home)
            e2e.wait_for(lambda: e2e.arm_thickness(e2e.GREEN) == 0, what="the crosshair gone")
            closed_by(host, window, "ctrl+q")
            output = host.output()
        assert "%s/Contents/Resources/RetikonX.app" % pane in output, output

        # Uninstalling takes back the arrows the system page gave GTK 3, and only those.
        gtk = os.path.join(home, ".config", "gtk-3.0")
        e2e.write_file(os.path.join(gtk, "gtk.css"), GTK_IMPORT + "/* mine */\n")
        e2e.write_file(os.path.join(gtk, "vantrel-scrollbar-arrows.css"), "")
        subprocess.run([install_pane, "--uninstall"], env=environment, check=True, stdout=subprocess.DEVNULL)
        assert os.listdir(gtk) == ["gtk.css"] and open(os.path.join(gtk, "gtk.css")).read() == "/* mine */\n"
        assert not os.path.exists(pane) and not os.path.exists(ENTRY % home)


def the_in_place_pane_starts_the_overlay_it_carries():
    with e2e.temp_home() as home:
        # Named relative to the current folder, as a user types it.
        with e2e.settings_window(home, bundle=os.path.relpath(e2e.BUNDLE)) as (host, window):
            e2e.press(window, "alt+s")
            e2e.wait_for(overlays, what="the in-place RetikonX running")
            e2e.wait_for(lambda: os.path.exists(ENTRY % home), what="the login item")
            assert 'Exec="%s"' % os.path.realpath(os.path.join(e2e.BUNDLE, OVERLAY)) in open(ENTRY % home).read()
            # Off and at once on again (a mnemonic's click takes 100 ms): one overlay runs on.
            e2e.xdotool("windowfocus", "--sync", window)
            e2e.xdotool("key", "--clearmodifiers", "--delay", "150", "alt+s", "alt+s")
            e2e.wait_for(lambda: e2e.holds_for(overlays, 0.5), what="RetikonX running after off and on")
            assert len(overlays()) == 1 and e2e.read_settings(home)["retikon"] == "1"
            closed_by(host, window, "Escape")

        for pid in overlays():
            os.kill(pid, signal.SIGKILL)
        e2e.wait_for(lambda: not overlays(), what="the overlay killed")
        with e2e.settings_window(home) as (host, window):
            e2e.wait_for(overlays, what="RetikonX started again by the window, since the box is on")
            e2e.press(window, "alt+s")
            e2e.wait_for(lambda: not overlays(), what="RetikonX ending")
            closed_by(host, window, "ctrl+w")


def every_program_explains_itself():
    with e2e.temp_home() as home:
        broken = os.path.join(home, "Broken.prefPane")
        e2e.write_file(os.path.join(broken, "Contents", "Info.plist"),
                       '<plist version="1.0"><dict><key>NSPrincipalClass</key><string>VantrelPrefPref</string>'
                       '<key>CFBundleExecutable</key><string>Vantrel</string></dict></plist>')
        host = [e2e.HOST, e2e.BUNDLE]
        for argv, env, message in [([e2e.HOST, home + "/Missing.prefPane"], {}, "no such bundle"),
                                   ([e2e.HOST, broken], {}, "cannot load the pane's library"),
                                   (host, {"DISPLAY": ""}, "no display"),
                                   (host, {"DISPLAY": ":4321"}, "cannot connect to display :4321"),
                                   ([e2e.RETIKONX], {"DISPLAY": ":4321"}, 'cannot open the X display ":4321"')]:
            finished = subprocess.run(argv, env=dict(os.environ, HOME=home, **env), capture_output=True, text=True,
                                      timeout=30)
            assert finished.returncode > 0 and message in finished.stderr, (argv, env, finished)
    for program in (e2e.HOST, e2e.RETIKONX, e2e.DEFAULTS):
        usage = subprocess.run([program, "--help"], capture_output=True, text=True, timeout=30)
        assert usage.returncode == 0 and usage.stdout.startswith("usage: "), (program, usage)


if __name__ == "__main__":
    e2e.run_cases(the_installed_pane_runs_follows_and_ends_the_overlay, the_in_place_pane_starts_the_overlay_it_carries,
                  every_program_explains_itself)
