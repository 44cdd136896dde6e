"""Real alpha and shadows with a compositing manager; opaque, shaped arms
that never show black without one, and the change between the two."""

import contextlib
import subprocess

import e2e_support as e2e
import overlay_support as ov

HALF_RED = (1, 0, 0, 0.5)


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
    e2e.run_cases(alpha_blends_and_shadow_follows_its_setting, without_a_compositor_no_black_appears_around_the_caps,
                  follows_the_compositor_leaving_and_coming)
