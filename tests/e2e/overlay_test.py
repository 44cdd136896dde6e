# SPDX-License-Identifier: MIT
"""RetikonX on the screen: crosshair and readout at the pointer, above a covering window,
clicks let through, the change notification (only it, even a storm), hot keys, no bus, a lost display."""

import os
import subprocess

import e2e_support as e2e
from e2e_support import BLUE, GREEN, RED


def draws_follows_and_obeys_the_notification_and_the_hot_keys():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10, Locate=1)
        with e2e.retikonx(home) as process:
            e2e.xdotool("mousemove", 700, 300)
            e2e.wait_for(e2e.arms_in(RED, 700, 300, 10), what="the crosshair at (700, 300)")
            shot = e2e.Screenshot()
            # The arms reach the screen's edges, are as thick as the width, and leave the gap free.
            for x, y in ((0, 300), (shot.width - 1, 300), (700, 0), (700, shot.height - 1)):
                assert shot.pixel(x, y) == RED, ("an arm short of the edge", x, y)
            rows = [y for y in range(280, 320) if shot.pixel(300, y) == RED]
            assert len(rows) == 5 and rows[-1] - rows[0] == 4 and 300 in rows, rows
            assert RED not in shot.pixels(691, 291, 710, 310), "colour in the gap"
            # The readout: text in the colour up and to the left of the pointer, and nothing further left.
            assert shot.pixels(585, 255, 690, 290).count(RED) > 40, "readout text"
            assert RED not in shot.pixels(555, 255, 585, 290), "colour left of the readout"

            # Mapped later, the window starts above the arms; the left arm crosses it at y = 300.
            with e2e.backdrop(100, 150, 300, 200) as below:
                e2e.wait_for(lambda: e2e.Screenshot().pixel(250, 300) == RED, what="the left arm above the window")
                # A negative gap makes the arms overlap at the pointer, so a click lands on them.
                e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=30, distance=-20)
                e2e.post_notification()
                e2e.xdotool("mousemove", 250, 250)
                e2e.wait_for(lambda: e2e.Screenshot().pixel(250, 250) == RED, what="the arms at the pointer")
                e2e.xdotool("click", 1)
                e2e.wait_for(lambda: "ButtonPress event" in below.output(), what="the click in the window below")

            e2e.write_settings(home, colour=(0, 0, 1), retikon=1, DispKind=1, WinWidth=5, distance=10)
            e2e.post_notification()
            e2e.wait_for(e2e.arms_in(BLUE, 250, 250, 10), what="the blue crosshair")
            e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=30)
            e2e.post_notification(obj="com.Halvix.Other")
            e2e.post_notification(name="Another Notification")
            assert e2e.holds_for(e2e.arms_in(BLUE, 250, 250, 10), 0.4), "another notification was obeyed"
            # A thousand saves of the settings page within a second, each with its notification: the last wins.
            subprocess.run([e2e.PROBE, e2e.settings_path(home), "1000", "1", "s_WinWidth=5", "s_distance=30",
                            "colour=0 1 0 1"], env=dict(os.environ, HOME=home), check=True)
            e2e.wait_for(e2e.arms_in(GREEN, 250, 250, 30), what="the green crosshair with the wider gap")
            assert GREEN not in e2e.Screenshot().pixels(222, 222, 279, 279), "colour in the gap"

            # Hot-key mode: shown only while control and super are both held.
            e2e.write_settings(home, colour=(0, 1, 0), retikon=1, DispKind=0, keys=4352, WinWidth=5, distance=10)
            e2e.post_notification()
            e2e.xdotool("mousemove", 700, 300)
            shown = e2e.arms_in(GREEN, 700, 300, 10, test=any)
            e2e.wait_for(lambda: not shown(), what="the crosshair to go in hot-key mode")
            try:
                e2e.xdotool("keydown", "ctrl", "super")
                e2e.wait_for(e2e.arms_in(GREEN, 700, 300, 10), what="the crosshair with both keys")
            finally:
                e2e.xdotool("keyup", "super", "ctrl")
            e2e.wait_for(lambda: not shown(), what="the crosshair to go")

            e2e.write_settings(home, retikon=0, DispKind=1)
            e2e.post_notification()
            e2e.wait_for(lambda: process.poll() is not None, what="RetikonX to quit")
            assert process.returncode == 0


def without_a_bus_it_draws_and_ends_when_the_display_connection_goes():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(0, 1, 0), retikon=1, DispKind=1, WinWidth=5)
        with e2e.retikonx(home, DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(home, "no-bus")) as process:
            e2e.xdotool("mousemove", 600, 400)
            e2e.wait_for(e2e.arms_in(GREEN, 600, 400, 0), what="the crosshair without a bus")
            # The X server closes the connection of the client that owns the window.
            e2e.xdotool("search", "--classname", "RetikonX", "windowkill")
            e2e.wait_for(lambda: process.poll() is not None, what="RetikonX to end")
            status, output = process.stop()
        assert status == 1 and "lost the connection to the X display" in output, (status, output)
        assert output.count("no D-Bus session bus") == 1, output


if __name__ == "__main__":
    e2e.run_cases(draws_follows_and_obeys_the_notification_and_the_hot_keys,
                  without_a_bus_it_draws_and_ends_when_the_display_connection_goes)
