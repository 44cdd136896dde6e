"""The settings window drives the overlay: enabling starts RetikonX from the
installed pane and adds its login item, a change in the window reaches the
running overlay, disabling ends it and removes the login item."""

import os
import subprocess

import e2e_support as e2e
import pane_support as pane


def enabling_runs_the_overlay_follows_changes_and_disabling_ends_it():
    with e2e.temp_home() as home:
        pane.install_pane(home)
        with pane.settings_window(home) as (host, window):
            assert not os.path.exists(e2e.settings_path(home)), "opening the window writes nothing"

            # A fresh account: no ~/Library/Preferences until this first save.
            assert not os.path.exists(os.path.join(home, "Library", "Preferences"))
            pane.press(window, "alt+s")
            e2e.wait_for(pane.settings_say(home, retikon="1"), what="the enabled flag saved")
            assert os.stat(os.path.dirname(e2e.settings_path(home))).st_mode & 0o777 == 0o700
            e2e.wait_for(lambda: pane.overlay_processes(home), what="RetikonX running")
            e2e.wait_for(lambda: os.path.exists(pane.autostart_entry(home)), what="the login item")
            # Started on a file that already said 1, so it stays.
            assert e2e.holds_for(lambda: pane.overlay_processes(home), 0.5), "RetikonX quit at once"
            entry = open(pane.autostart_entry(home)).read()
            assert "Type=Application\n" in entry and "Name=RetikonX\n" in entry, entry
            assert 'Exec="%s/Contents/Resources/RetikonX.app/Contents/MacOS/RetikonX"' % pane.pane_path(home) in entry

            pane.press(window, "alt+a")
            e2e.wait_for(pane.settings_say(home, DispKind="1"), what="display kind always")
            e2e.wait_for(lambda: pane.arm_thickness() == 5, what="the crosshair 5 points wide")
            pane.press(window, "alt+w", "Right", "Right")
            e2e.wait_for(pane.settings_say(home, WinWidth="7"), what="width 7 saved")
            e2e.wait_for(lambda: pane.arm_thickness() == 7, what="the overlay drawing 7 points wide")

            pane.press(window, "alt+s")
            e2e.wait_for(lambda: not pane.overlay_processes(home), what="RetikonX ending")
            assert pane.settings(home)["retikon"] == "0"
            assert not os.path.exists(pane.autostart_entry(home))
            e2e.wait_for(lambda: pane.arm_thickness() is None, what="the crosshair gone")

            # On again and off again: never more than one login item.
            pane.press(window, "alt+s")
            e2e.wait_for(lambda: pane.overlay_processes(home), what="RetikonX running again")
            e2e.wait_for(lambda: os.path.exists(pane.autostart_entry(home)), what="the login item again")
            assert os.listdir(os.path.dirname(pane.autostart_entry(home))) == ["RetikonX.desktop"]
            pane.press(window, "alt+s")
            e2e.wait_for(lambda: not pane.overlay_processes(home), what="RetikonX ending again")
            status, _, err = e2e.stop_program(host)
        assert "%s/Contents/Resources/RetikonX.app" % pane.pane_path(home) in err, err


def the_host_explains_what_it_cannot_show():
    with e2e.temp_home() as home:
        pane.install_pane(home)
        host = pane.host_path(home)
        cases = [
            ([host, os.path.join(home, "Missing.prefPane")], {}, "no such bundle"),
            ([host, home], {}, "Info.plist: missing"),
            ([host, pane.pane_path(home)], {"DISPLAY": ""}, "no display"),
            ([host, pane.pane_path(home)], {"DISPLAY": ":79"}, "cannot connect to display :79"),
        ]
        broken = os.path.join(home, "Broken.prefPane")
        os.makedirs(os.path.join(broken, "Contents"))
        with open(os.path.join(broken, "Contents", "Info.plist"), "w") as f:
            f.write('<plist version="1.0"><dict><key>NSPrincipalClass</key><string>VantrelPrefPref</string>'
                    '<key>CFBundleExecutable</key><string>Vantrel</string></dict></plist>')
        cases.append(([host, broken], {}, "cannot load the pane's library"))
        for argv, env, message in cases:
            environment = dict(os.environ, HOME=home, **env)
            finished = subprocess.run(argv, env=environment, capture_output=True, text=True, timeout=30)
            status, err = finished.returncode, finished.stderr
            assert status > 0, (argv, env, status, err)
            assert message in err, (argv, env, err)


e2e.run_cases(enabling_runs_the_overlay_follows_changes_and_disabling_ends_it,
              the_host_explains_what_it_cannot_show)
