# SPDX-License-Identifier: MIT
"""RetikonX as a compositing manager comes and goes: opaque shaped arms, never black,
without one; real alpha, a shadow as set and every part redrawn on a colour change with one."""

import e2e_support as e2e
from e2e_support import RED, WHITE

H, V, GAP = 400, 300, 10
HALF_RED = (1, 0, 0, 0.5)
BLENDED = (255, 128, 128)
# Each differs from the one before it in every part it is drawn in.
COLOUR_CYCLE = [(0, 0, 1), (0, 1, 0), (1, 0, 1), (1, 0, 0), (0, 1, 1), (1, 1, 0), (0, 0, 1), (1, 0, 0)]


def opaque_without_black(shot):
    """Only red and white around the left arm's inner round end, which is drawn."""
    around = shot.pixels(H - GAP - 20, V - 8, H - GAP + 2, V + 8)
    strays = [p for p in around if p not in (RED, WHITE)]
    assert not strays and shot.pixels(H - GAP - 13, V - 5, H - GAP - 4, V + 5).count(RED) > 20, strays[:10]


def below_the_left_arm(shot):
    return [shot.pixel(300, y) for y in range(V + 4, V + 12)]


def on_white_to(pixel, rgb):
    full = [p for p, c in zip(pixel, rgb) if c]
    empty = [p for p, c in zip(pixel, rgb) if not c]
    return all(p >= 253 for p in full) and (not empty or max(empty) - min(empty) <= 2)


def all_parts_drawn_in(rgb):
    """The arms and the readout's text, smoothed between the colour and the white below, drawn in rgb."""
    readout = e2e.Screenshot().pixels(H - 115, V - 45, H - 10, V - 10)
    return readout.count(rgb) >= 20 and all(on_white_to(p, rgb) for p in readout) and e2e.arms_in(rgb, H, V, GAP)()


def settings(home, colour, shadow):
    e2e.write_settings(home, colour=colour, retikon=1, DispKind=1, WinWidth=9, distance=GAP, Locate=1, shadow=shadow)
    e2e.post_notification()


def follows_the_compositor_in_alpha_shadow_and_colour():
    with e2e.temp_home() as home, e2e.backdrop(100, 100, 500, 400):
        settings(home, HALF_RED, 1)
        with e2e.retikonx(home):
            e2e.xdotool("mousemove", H, V)
            e2e.wait_for(e2e.arms_in(RED, H, V, GAP), what="opaque red arms")
            opaque_without_black(e2e.Screenshot())

            with e2e.Program(["xcompmgr"]):
                e2e.wait_for(lambda: any(max(p) < 235 for p in below_the_left_arm(e2e.Screenshot())),
                             what="a soft shadow below the arm")
                shot = e2e.Screenshot()
                arm = shot.pixel(300, V)
                assert arm[0] > arm[1] + 100 and arm[1] == arm[2], ("the arm is red over its shadow", arm)
                assert below_the_left_arm(shot)[-1] != (0, 0, 0) and shot.pixel(300, V - 17) == WHITE, "a hard shadow"
                settings(home, HALF_RED, 0)
                e2e.wait_for(lambda: set(below_the_left_arm(e2e.Screenshot())) == {WHITE}, what="the shadow gone")
                e2e.wait_for(e2e.arms_in(BLENDED, H, V, GAP, tolerance=8), what="half red blended over white")

                for colour in COLOUR_CYCLE:
                    settings(home, colour, 0)
                    rgb = tuple(255 * c for c in colour)
                    e2e.wait_for(lambda: all_parts_drawn_in(rgb), what="all drawn in %s" % (colour,))
                settings(home, HALF_RED, 0)
                e2e.wait_for(e2e.arms_in(BLENDED, H, V, GAP, tolerance=8), what="half red again")

            e2e.wait_for(e2e.arms_in(RED, H, V, GAP), what="opaque arms once it has gone")
            opaque_without_black(e2e.Screenshot())
            with e2e.Program(["xcompmgr"]):
                e2e.wait_for(e2e.arms_in(BLENDED, H, V, GAP, tolerance=8), what="blended arms again")


if __name__ == "__main__":
    e2e.run_cases(follows_the_compositor_in_alpha_shadow_and_colour)
