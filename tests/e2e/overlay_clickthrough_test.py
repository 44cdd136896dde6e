"""Clicks on the crosshair reach the window below it."""

import re

import e2e_support as e2e
import overlay_support as ov


def clicks_on_an_arm_reach_the_window_below():
    with e2e.temp_home() as home:
        # A negative gap makes the arms overlap at the pointer, so the click lands on them.
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=30, distance=-20)
        with ov.backdrop(100, 100, 400, 300) as below:
            with ov.retikonx(home):
                e2e.move_pointer(300, 250)
                e2e.wait_for(ov.crosshair_shown(ov.RED, 300, 250, 30, -20), what="the crosshair over the window")
                assert e2e.Screenshot().pixel(300, 250) == ov.RED, "the arms cover the pointer's place"
                e2e.click(1)
            below.terminate()
            out, _ = below.communicate(timeout=5)
        assert re.search(r"ButtonPress event", out), "the click did not reach the window below: " + out


if __name__ == "__main__":
    e2e.run_cases(clicks_on_an_arm_reach_the_window_below)
