"""Real alpha and shadows with a compositing manager; opaque, shaped arms
that never show black without one, and the change between the two."""

import contextlib
import subprocess

import e2e_support as e2e
import overlay_support as ov

HALF_RED = (1, 0, 0, 0.5)
# Each differs from the one before it in every part it is drawn in.
COLOUR_CYCLE = [(0, 0, 1), (0, 1, 0), (1, 0, 1), (1, 0, 0), (0, 1, 1), (1, 1, 0), (0, 0, 1), (1, 0, 0)]


@contextlib.contextmanager
def compositor():
    process = subprocess.Popen(["xcompmgr"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        yield process
    finally:
        process.terminate()
        process.wait(timeout=5)


def band(h, v, width, distance):
    sw, sh = e2e.display_size()
    return ov.arm_boxes(h, v, width, distance, sw, sh)["left"]


def cap_surroundings_hold_only(shot, left, colours):
    """Every pixel around the left arm's inner round end is one of the colours."""
    x0, y0, x1, y1 = left[2] - (left[3] - left[1]) - 2, left[1] - 2, left[2] + 2, left[3] + 2
    strays = [(x, y, shot.pixel(x, y)) for y in range(y0, y1) for x in range(x0, x1)
              if not any(e2e.close(shot.pixel(x, y), c, 0) for c in colours)]
    return strays


def alpha_blends_and_shadow_follows_its_setting():
    with e2e.temp_home() as home, compositor(), ov.backdrop(100, 100, 500, 400):
        e2e.write_settings(home, colour=HALF_RED, retikon=1, DispKind=1, WinWidth=8, distance=10, shadow=0)
        with ov.retikonx(home):
            e2e.move_pointer(400, 300)
            left = band(400, 300, 8, 10)
            mid = (left[1] + left[3]) // 2
            e2e.wait_for(lambda: e2e.close(e2e.Screenshot().pixel(300, mid), (255, 128, 128), 8),
                         what="half red blended over white")
            shot = e2e.Screenshot()
            below = [shot.pixel(300, y) for y in range(left[3], left[3] + 8)]
            assert all(p == ov.WHITE for p in below), ("a shadow while it is off", below)

            e2e.write_settings(home, colour=HALF_RED, retikon=1, DispKind=1, WinWidth=8, distance=10, shadow=1)
            e2e.post_notification()

            def shadowed():
                column = [e2e.Screenshot().pixel(300, y) for y in range(left[3], left[3] + 8)]
                return any(max(p) < 235 for p in column) and column[-1] != (0, 0, 0)
            e2e.wait_for(shadowed, what="a soft shadow below the arm")
            shot = e2e.Screenshot()
            arm = shot.pixel(300, mid)
            assert arm[0] > arm[1] + 100 and arm[1] == arm[2], ("the arm is still red over its shadow", arm)
            assert shot.pixel(300, left[1] - 12) == ov.WHITE, "the shadow stays close to the arm"


def on_white_to(pixel, rgb):
    full = [p for p, c in zip(pixel, rgb) if c]
    empty = [p for p, c in zip(pixel, rgb) if not c]
    return all(p >= 253 for p in full) and (not empty or max(empty) - min(empty) <= 2)


def all_parts_drawn_in(colour, h, v, width, distance):
    """A test that the middle of every arm's stretch over the backdrop, and
    the readout's text, show the colour and nothing of another."""
    sw, sh = e2e.display_size()
    arms = ov.arm_boxes(h, v, width, distance, sw, sh)
    rgb = tuple(255 * c for c in colour)
    readout = ov.readout_box(h, v, sh)

    def drawn():
        shot = e2e.Screenshot()
        points = {"left": (arms["left"][2] - 30, (arms["left"][1] + arms["left"][3]) // 2),
                  "right": (arms["right"][0] + 30, (arms["right"][1] + arms["right"][3]) // 2),
                  "lower": ((arms["lower"][0] + arms["lower"][2]) // 2, arms["lower"][1] + 30),
                  "upper": ((arms["upper"][0] + arms["upper"][2]) // 2, arms["upper"][3] - 30)}
        missing = [name for name, (x, y) in points.items() if shot.pixel(x, y) != rgb]
        pixels = [shot.pixel(x, y) for y in range(readout[1], readout[3]) for x in range(readout[0], readout[2])]
        # Smoothed text lies between the colour and the white below it.
        strays = [p for p in pixels if not on_white_to(p, rgb)]
        if pixels.count(rgb) < 20 or strays:
            missing.append("readout")
        return not missing or (drawn.last.append(missing) and False)
    drawn.last = []
    return drawn


def colour_changes_at_rest_redraw_every_part():
    with e2e.temp_home() as home, compositor(), ov.backdrop(100, 100, 500, 400):
        settings = dict(retikon=1, DispKind=1, WinWidth=6, distance=10, Locate=1)
        e2e.write_settings(home, colour=(1, 0, 0), **settings)
        with ov.retikonx(home):
            e2e.move_pointer(400, 300)
            e2e.wait_for(all_parts_drawn_in((1, 0, 0), 400, 300, 6, 10), what="the red crosshair")
            for colour in COLOUR_CYCLE:
                e2e.write_settings(home, colour=colour, **settings)
                e2e.post_notification()
                drawn = all_parts_drawn_in(colour, 400, 300, 6, 10)
                try:
                    e2e.wait_for(drawn, timeout=2)
                except e2e.WaitTimeout:
                    raise AssertionError("after the change to %s, not drawn in it: %s" % (colour, drawn.last[-1]))


def without_a_compositor_no_black_appears_around_the_caps():
    with e2e.temp_home() as home, ov.backdrop(100, 100, 500, 400):
        e2e.write_settings(home, colour=HALF_RED, retikon=1, DispKind=1, WinWidth=9, distance=10, shadow=1)
        with ov.retikonx(home):
            e2e.move_pointer(400, 300)
            e2e.wait_for(ov.crosshair_shown(ov.RED, 400, 300, 9, 10), what="opaque red arms")
            shot = e2e.Screenshot()
            left = band(400, 300, 9, 10)
            strays = cap_surroundings_hold_only(shot, left, [ov.RED, ov.WHITE])
            assert not strays, strays[:10]
            assert shot.count(ov.RED, left[2] - 9, left[1], left[2], left[3]) > 20, "the cap is drawn"


def follows_the_compositor_leaving_and_coming():
    with e2e.temp_home() as home, ov.backdrop(100, 100, 500, 400):
        e2e.write_settings(home, colour=HALF_RED, retikon=1, DispKind=1, WinWidth=9, distance=10)
        with ov.retikonx(home):
            with compositor():
                e2e.move_pointer(400, 300)
                e2e.wait_for(ov.crosshair_shown((255, 128, 128), 400, 300, 9, 10, tolerance=8),
                             what="blended arms")
            e2e.wait_for(ov.crosshair_shown(ov.RED, 400, 300, 9, 10), what="opaque arms once it has gone")
            strays = cap_surroundings_hold_only(e2e.Screenshot(), band(400, 300, 9, 10), [ov.RED, ov.WHITE])
            assert not strays, strays[:10]
            with compositor():
                e2e.wait_for(ov.crosshair_shown((255, 128, 128), 400, 300, 9, 10, tolerance=8),
                             what="blended arms again")


if __name__ == "__main__":
    e2e.run_cases(alpha_blends_and_shadow_follows_its_setting, colour_changes_at_rest_redraw_every_part,
                  without_a_compositor_no_black_appears_around_the_caps,
                  follows_the_compositor_leaving_and_coming)
