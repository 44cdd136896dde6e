"""RetikonX reads its settings again on the change notification, and only on it."""

import e2e_support as e2e
import overlay_support as ov


def reloads_on_the_notification_and_quits_when_disabled():
    with e2e.temp_home() as home:
        e2e.write_settings(home, colour=(1, 0, 0), retikon=1, DispKind=1, WinWidth=5, distance=10)
        with ov.retikonx(home) as process:
            e2e.move_pointer(700, 300)
            e2e.wait_for(ov.crosshair_shown(ov.RED, 700, 300, 5, 10), what="the red crosshair")

            e2e.write_settings(home, colour=(0, 0, 1), retikon=1, DispKind=1, WinWidth=5, distance=10)
            assert e2e.holds_for(ov.crosshair_shown(ov.RED, 700, 300, 5, 10), 0.3), "reloaded without a notice"
            e2e.post_notification()
            e2e.wait_for(ov.crosshair_shown(ov.BLUE, 700, 300, 5, 10), what="the blue crosshair")

            e2e.write_settings(home, colour=(0, 1, 0), retikon=1, DispKind=1, WinWidth=5, distance=30)
            e2e.post_notification(obj="com.Halvix.Other")
            e2e.post_notification(name="Another Notification")
            assert e2e.holds_for(ov.crosshair_shown(ov.BLUE, 700, 300, 5, 10), 0.4), "another notice was obeyed"
            e2e.post_notification()
            e2e.wait_for(ov.crosshair_shown(ov.GREEN, 700, 300, 5, 30), what="the green crosshair, wider gap")

            e2e.write_settings(home, colour=(0, 1, 0), retikon=0, DispKind=1)
            e2e.post_notification()
            # Two ticks are 0.2 s; the bound only keeps a broken build from hanging.
            e2e.wait_for(lambda: process.poll() is not None, timeout=1, what="RetikonX to quit")
            assert process.returncode == 0


if __name__ == "__main__":
    e2e.run_cases(reloads_on_the_notification_and_quits_when_disabled)
