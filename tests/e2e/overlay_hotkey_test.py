"""In hot-key mode the crosshair shows while every chosen modifier is held."""

import e2e_support as e2e
import overlay_support as ov


def hidden(h, v, width, distance):
    shown = ov.crosshair_shown(ov.GREEN, h, v, width, distance)
    return lambda: not shown()


def shows_while_control_and_super_are_held():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(0, 1, 0), retikon=1, DispKind=0, keys=4352, WinWidth=5, distance=10)
        with ov.retikonx(home):
            e2e.move_pointer(700, 300)
            assert e2e.holds_for(hidden(700, 300, 5, 10), 0.4), "shown with no key held"
            try:
                e2e.key_down("ctrl", "super")
                e2e.wait_for(ov.crosshair_shown(ov.GREEN, 700, 300, 5, 10), what="the crosshair with both keys")
                e2e.key_down("shift")
                assert e2e.holds_for(ov.crosshair_shown(ov.GREEN, 700, 300, 5, 10), 0.3), "an extra key hid it"
                e2e.key_up("shift")
                e2e.move_pointer(500, 600)
                e2e.wait_for(ov.crosshair_shown(ov.GREEN, 500, 600, 5, 10), what="the crosshair following")
            finally:
                e2e.key_up("super", "ctrl")
            # Within a tick or two of the release; the bound only keeps a broken build from hanging.
            e2e.wait_for(hidden(500, 600, 5, 10), timeout=1, what="the crosshair to go")
            try:
                e2e.key_down("ctrl")
                assert e2e.holds_for(hidden(500, 600, 5, 10), 0.4), "shown with control alone"
            finally:
                e2e.key_up("ctrl")


def mask_zero_never_shows():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(0, 1, 0), retikon=1, DispKind=0, WinWidth=5)
        with ov.retikonx(home):
            e2e.move_pointer(700, 300)
            try:
                e2e.key_down("ctrl", "super", "shift", "alt")
                assert e2e.holds_for(hidden(700, 300, 5, 0), 0.5), "shown with mask 0"
            finally:
                e2e.key_up("alt", "shift", "super", "ctrl")


if __name__ == "__main__":
    e2e.run_cases(shows_while_control_and_super_are_held, mask_zero_never_shows)
