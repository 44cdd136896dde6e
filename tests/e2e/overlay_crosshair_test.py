"""RetikonX draws the crosshair where its geometry says, in the file's colour."""

import os
import subprocess

import e2e_support as e2e
import overlay_support as ov


def arms_gap_and_readout_follow_the_pointer():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10, Locate=1)
        with ov.retikonx(home):
            e2e.move_pointer(700, 300)
            e2e.wait_for(ov.crosshair_shown(ov.RED, 700, 300, 5, 10), what="the crosshair at (700, 300)")
            sw, sh = e2e.display_size()
            shot = e2e.Screenshot()
            arms = ov.arm_boxes(700, 300, 5, 10, sw, sh)
            # Inside each arm, away from its round end: the colour, across the whole thickness.
            left, right, lower, upper = arms["left"], arms["right"], arms["lower"], arms["upper"]
            for x in (5, 300, left[2] - 4):
                for y in range(left[1], left[3]):
                    assert shot.pixel(x, y) == ov.RED, ("left arm", x, y, shot.pixel(x, y))
            for x in (right[0] + 3, 1000, sw - 1):
                assert shot.pixel(x, left[1] + 2) == ov.RED, ("right arm", x)
            for y in (0, 200, upper[3] - 4):
                for x in range(upper[0], upper[2]):
                    assert shot.pixel(x, y) == ov.RED, ("upper arm", x, y)
            for y in (lower[1] + 3, 600, sh - 1):
                assert shot.pixel(lower[0] + 2, y) == ov.RED, ("lower arm", y)
            # Just outside the band, and in the gap: no colour.
            assert shot.pixel(300, left[1] - 1) != ov.RED
            assert shot.pixel(300, left[3]) != ov.RED
            assert shot.count(ov.RED, left[2] + 1, left[1], right[0] - 1, left[3]) == 0, "gap between left and right"
            assert shot.count(ov.RED, upper[0], upper[3] + 1, upper[2], lower[1] - 1) == 0, "gap between upper and lower"
            # The readout: text in the colour inside its 90 x 19 box, up and to the left.
            rx0, ry0, rx1, ry1 = ov.readout_box(700, 300, sh)
            assert shot.count(ov.RED, rx0, ry0, rx1, ry1) > 40, "readout text"
            assert shot.count(ov.RED, rx0 - 30, ry0 - 10, rx0, ry1 + 10) == 0, "nothing left of the readout"

            # Following the pointer to the top-left corner, the readout moves right and below.
            e2e.move_pointer(50, 10)
            e2e.wait_for(ov.crosshair_shown(ov.RED, 50, 10, 5, 10), what="the crosshair at (50, 10)")
            rx0, ry0, rx1, ry1 = ov.readout_box(50, 10, sh)
            e2e.wait_for(lambda: e2e.Screenshot().count(ov.RED, rx0, ry0, rx1, ry1) > 40,
                         what="the readout right of and below the pointer")


def thick_arms_without_readout():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(0, 0, 1), retikon=1, DispKind=1, WinWidth=20, distance=0, Locate=0)
        with ov.retikonx(home):
            e2e.move_pointer(400, 500)
            e2e.wait_for(ov.crosshair_shown(ov.BLUE, 400, 500, 20, 0), what="the blue crosshair")
            sw, sh = e2e.display_size()
            shot = e2e.Screenshot()
            left = ov.arm_boxes(400, 500, 20, 0, sw, sh)["left"]
            column = [y for y in range(left[1] - 5, left[3] + 5) if shot.pixel(200, y) == ov.BLUE]
            assert column == list(range(left[1], left[3])), column
            rx0, ry0, rx1, ry1 = ov.readout_box(400, 500, sh)
            assert shot.count(ov.BLUE, rx0, ry0, rx1, ry1) == 0, "the readout is off"


def comes_back_on_top_of_a_window_that_covers_it():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10)
        with ov.retikonx(home):
            e2e.move_pointer(700, 300)
            e2e.wait_for(ov.crosshair_shown(ov.RED, 700, 300, 5, 10), what="the crosshair")
            # Mapped later, the window starts above the arms; the left arm crosses it at y = 300.
            with ov.backdrop(100, 150, 300, 200):
                e2e.wait_for(lambda: e2e.Screenshot().pixel(250, 300) == ov.RED,
                             what="the left arm above the new window")


def ends_with_a_message_when_the_display_connection_is_lost():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5)
        with ov.retikonx(home) as process:
            window = subprocess.run(["xdotool", "search", "--classname", "RetikonX"], capture_output=True,
                                    text=True, check=True).stdout.split()[0]
            # The X server closes the connection of the client that owns the window.
            subprocess.run(["xkill", "-id", window], check=True, capture_output=True)
            e2e.wait_for(lambda: process.poll() is not None, timeout=5, what="RetikonX to end")
            status, _, err = e2e.stop_program(process)
        assert status == 1, status
        assert "lost the connection to the X display" in err, err


def survives_widths_and_gaps_at_the_32_bit_limits():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, Locate=1,
                           WinWidth=2147483647, distance=2147483647)
        with ov.retikonx(home) as process:
            e2e.move_pointer(700, 300)
            for width, distance in ((2147483647, -2147483648), (-2147483648, -2147483648), (100000, 0)):
                assert e2e.holds_for(lambda: process.poll() is None, 0.3), "RetikonX ended"
                e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, Locate=1,
                                   WinWidth=width, distance=distance)
                e2e.post_notification()
            assert e2e.holds_for(lambda: process.poll() is None, 0.3), "RetikonX ended"
            e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10)
            e2e.post_notification()
            e2e.wait_for(ov.crosshair_shown(ov.RED, 700, 300, 5, 10), what="an ordinary crosshair again")


def quits_at_once_without_a_settings_file():
    with e2e.temp_home() as home:
        with ov.retikonx(home) as process:
            e2e.wait_for(lambda: process.poll() is not None, timeout=2, what="RetikonX to quit")
            assert process.returncode == 0


def says_so_when_there_is_no_display():
    with e2e.temp_home() as home:
        e2e.write_settings(home, retikon=1, DispKind=1)
        process = e2e.start_program([e2e.retikonx_path()], home, {"DISPLAY": ":4321"})
        e2e.wait_for(lambda: process.poll() is not None, timeout=5, what="RetikonX to give up")
        status, _, err = e2e.stop_program(process)
        assert status != 0
        assert "cannot open the X display" in err and ":4321" in err, err


def runs_on_without_a_session_bus():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(0, 1, 0), retikon=1, DispKind=1, WinWidth=5)
        bus = {"DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(home, "no-bus")}
        with ov.retikonx(home, bus) as process:
            e2e.move_pointer(600, 400)
            e2e.wait_for(ov.crosshair_shown(ov.GREEN, 600, 400, 5, 0), what="the crosshair without a bus")
        _, _, err = e2e.stop_program(process)
        assert err.count("no D-Bus session bus") == 1, err


if __name__ == "__main__":
    e2e.run_cases(arms_gap_and_readout_follow_the_pointer, thick_arms_without_readout,
                  comes_back_on_top_of_a_window_that_covers_it,
                  ends_with_a_message_when_the_display_connection_is_lost,
                  survives_widths_and_gaps_at_the_32_bit_limits,
                  quits_at_once_without_a_settings_file, says_so_when_there_is_no_display,
                  runs_on_without_a_session_bus)
