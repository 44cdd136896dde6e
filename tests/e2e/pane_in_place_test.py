"""The pane run in place from the build folder, never installed: it starts
the overlay it carries, a quick off and on leaves one overlay running, and a
window opened with the box on starts an overlay that was ended meanwhile."""

import os
import signal
import subprocess

import e2e_support as e2e
import pane_support as pane

BUNDLE = os.path.join(e2e.build_dir(), "Vantrel.prefPane")
HOST = os.path.join(e2e.build_dir(), "platform", "pane_host", "prefpane-host")
PROGRAM = os.path.realpath(os.path.join(BUNDLE, "Contents", "Resources", "RetikonX.app", "Contents", "MacOS",
                                        "RetikonX"))


def overlays():
    return pane.processes_of(PROGRAM)


def in_place_window(home):
    # Named relative to the current folder, as a user types it.
    environment = {"XDG_CONFIG_HOME": os.path.join(home, ".config")}
    process = e2e.start_program([HOST, os.path.relpath(BUNDLE)], home, environment)
    window = e2e.wait_for(lambda: pane.window_of() or process.poll() is not None, what="the settings window")
    assert process.poll() is None, "the host ended: %s" % (e2e.stop_program(process),)
    return process, window


def the_in_place_pane_starts_the_overlay_it_carries():
    with e2e.temp_home() as home:
        host, window = in_place_window(home)
        try:
            pane.press(window, "alt+s")
            e2e.wait_for(overlays, what="the in-place RetikonX running")
            e2e.wait_for(lambda: os.path.exists(pane.autostart_entry(home)), what="the login item")
            assert 'Exec="%s"' % PROGRAM in open(pane.autostart_entry(home)).read()

            # Off and at once on again (a mnemonic's click takes 100 ms): one
            # overlay runs on.
            e2e.xdotool("windowfocus", "--sync", window)
            e2e.xdotool("key", "--clearmodifiers", "--delay", "150", "alt+s", "alt+s")
            e2e.wait_for(lambda: e2e.holds_for(overlays, 0.5), timeout=5, what="RetikonX running after off and on")
            assert pane.settings(home)["retikon"] == "1"
        finally:
            e2e.stop_program(host)

        for pid in overlays():
            os.kill(pid, signal.SIGKILL)
        e2e.wait_for(lambda: not overlays(), what="the overlay killed")
        host, window = in_place_window(home)
        try:
            e2e.wait_for(overlays, what="RetikonX started again by the window, since the box is on")
            pane.press(window, "alt+s")
            e2e.wait_for(lambda: not overlays(), what="RetikonX ending")
        finally:
            e2e.stop_program(host)


def every_program_explains_itself():
    programs = [HOST, PROGRAM, os.path.join(e2e.build_dir(), "platform", "defaults", "defaults")]
    for program in programs:
        finished = subprocess.run([program, "--help"], capture_output=True, text=True, timeout=30)
        assert finished.returncode == 0 and finished.stdout.startswith("usage: "), (program, finished)


e2e.run_cases(the_in_place_pane_starts_the_overlay_it_carries, every_program_explains_itself)
