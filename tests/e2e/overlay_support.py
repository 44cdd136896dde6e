"""What the overlay's end-to-end tests share: starting RetikonX, a window to
lie beneath the crosshair, and where the crosshair's parts must appear."""

import contextlib
import subprocess

import e2e_support as e2e

WHITE = (255, 255, 255)
RED = (255, 0, 0)
GREEN = (0, 255, 0)
BLUE = (0, 0, 255)


def windows_made(process):
    """True once RetikonX has made its five windows (it makes them at launch)."""
    found = subprocess.run(["xdotool", "search", "--classname", "RetikonX"], capture_output=True, text=True)
    return len(found.stdout.split()) >= 5 or process.poll() is not None


@contextlib.contextmanager
def retikonx(home, env=None):
    """RetikonX running on the settings in home, connected to the display: a
    pointer moved before then could be undone by the X server resetting when
    its last client goes."""
    with e2e.running([e2e.retikonx_path()], home, env) as process:
        e2e.wait_for(lambda: windows_made(process), what="RetikonX's windows")
        yield process


@contextlib.contextmanager
def backdrop(x, y, width, height):
    """A plain white window (xev's) at the given place, with the button
    events it receives collected on its standard output."""
    process = subprocess.Popen(["xev", "-geometry", "%dx%d+%d+%d" % (width, height, x, y), "-event", "button"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        cx, cy = x + width // 2, y + height // 2
        e2e.wait_for(lambda: e2e.Screenshot().pixel(cx, cy) == WHITE, what="the white backdrop window")
        yield process
    finally:
        process.terminate()
        process.wait(timeout=5)


def arm_boxes(h, v, width, distance, sw, sh):
    """The four arms as (left, top, right, bottom) pixel boxes, end exclusive,
    from the placement's formulas for ordinary values."""
    k = 1 if width == 1 else 2
    a = int(width / k)
    lh, lv = 2 * sw - 2, 2 * sh - 2
    yp = sh - v

    def box(x, y, w, hgt):
        return (x, sh - (y + hgt), x + w, sh - y)

    return {
        "left": box(h - lh - a - distance, yp - a, lh, width),
        "right": box(h + a + distance, yp - a, lh, width),
        "lower": box(h - a, sh - lv - v - a - distance, width, lv),
        "upper": box(h - a, yp + a + distance, width, lv),
    }


def readout_box(h, v, sh):
    x = h - 110 if h > 110 else h + 20
    y = sh - v - 39 if v < 39 else sh - v + 20
    return (x, sh - (y + 19), x + 90, sh - y)


def crosshair_shown(colour, h, v, width, distance, tolerance=0):
    """A test that the middle of the band left of the pointer shows the colour."""
    sw, sh = e2e.display_size()
    left = arm_boxes(h, v, width, distance, sw, sh)["left"]
    x = max(left[0], left[2] - 40)
    y = (left[1] + left[3]) // 2

    def shown():
        return e2e.close(e2e.Screenshot().pixel(x, y), colour, tolerance)
    return shown
