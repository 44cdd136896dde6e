"""A storm of settings changes while RetikonX runs: a thousand saves, each
with its notification, within a second. RetikonX keeps up, ends with the last
settings, and its memory does not grow from one storm to the next (in a
sanitizer build, whose allocator holds freed memory back, LeakSanitizer
checks instead when the last storm turns the overlay off)."""
import subprocess

import e2e_support as e2e
import overlay_support as overlay
from probe import PROBE

BLUE = (0, 0, 255)


def resident_kib(process):
    with open("/proc/%d/status" % process.pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise AssertionError("RetikonX has gone")


def sanitized(process):
    with open("/proc/%d/maps" % process.pid) as maps:
        return "libasan" in maps.read()


def storm(home, width, enabled=1):
    subprocess.run([PROBE, "storm", e2e.settings_path(home), "1000", "1",
                    "s_WinWidth=%d" % width, "colour=0 0 1 1", "s_Retikon=%d" % enabled, "s_Disp=1"],
                   env=dict(e2e.os.environ, HOME=home), check=True)


def test_storms_end_with_the_last_settings_and_no_growth():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5)
        with overlay.retikonx(home) as process:
            e2e.move_pointer(700, 450)
            e2e.wait_for(overlay.crosshair_shown(overlay.RED, 700, 450, 5, 0), what="the red crosshair")
            storm(home, 9)
            e2e.wait_for(overlay.crosshair_shown(BLUE, 700, 450, 9, 0), what="the last colour of the first storm")
            settled = resident_kib(process)
            for width in (11, 13, 15):
                storm(home, width)
                e2e.wait_for(overlay.crosshair_shown(BLUE, 700, 450, width, 0), what="the storm's last settings")
            shot = e2e.Screenshot()
            # The band is exactly as thick as the last storm left it.
            left = overlay.arm_boxes(700, 450, 15, 0, shot.width, shot.height)["left"]
            assert shot.count(BLUE, left[2] - 30, left[1] - 3, left[2] - 29, left[3] + 3) == 15
            grown = resident_kib(process) - settled
            print("resident memory after one storm %d KiB, grown by %d KiB over three more" % (settled, grown))
            assert sanitized(process) or grown < 512, grown
            storm(home, 15, enabled=0)
            e2e.wait_for(lambda: process.poll() is not None, what="RetikonX to quit")
            status, _, err = e2e.stop_program(process)
            assert status == 0 and "Sanitizer" not in err, (status, err[-2000:])


if __name__ == "__main__":
    e2e.run_cases(test_storms_end_with_the_last_settings_and_no_growth)
