"""The change notification between two real processes on the session bus."""
import os
import subprocess
import unittest

from probe import PROBE

NAME = "Vantrl Notification"
OBJECT = "com.Halvix.Vantrel"


def start_observer(count, seconds):
    observer = subprocess.Popen([PROBE, "observe", NAME, OBJECT, str(count), str(seconds)],
                                stdout=subprocess.PIPE, text=True)
    assert observer.stdout.readline().strip() == "ready"
    return observer


def post(name, obj):
    subprocess.run([PROBE, "post", name, obj], check=True)


@unittest.skipUnless(os.environ.get("DBUS_SESSION_BUS_ADDRESS"), "needs a session bus")
class Notifications(unittest.TestCase):
    def test_delivered_only_with_the_exact_name_and_object(self):
        observer = start_observer(count=2, seconds=10)
        post(NAME, "com.Halvix.Other")
        post("Vantrl Notification ", OBJECT)
        post("vantrl notification", OBJECT)
        post(NAME, OBJECT)
        # The form a shell user would send must be understood as well.
        subprocess.run(["dbus-send", "--session", "--type=signal", "/com/Halvix/DistributedNotificationCenter",
                        "com.Halvix.DistributedNotificationCenter.Notification",
                        f"string:{NAME}", f"string:{OBJECT}"], check=True)
        out, _ = observer.communicate(timeout=15)
        self.assertEqual(out.split(), ["notified", "1", "notified", "2", "received", "2"])

    def test_nothing_arrives_for_other_notifications(self):
        observer = start_observer(count=1, seconds=1)
        post(NAME, "")
        post("", OBJECT)
        post(OBJECT, NAME)
        out, _ = observer.communicate(timeout=10)
        self.assertEqual(out.split(), ["received", "0"])

    def test_posting_without_a_bus_fails_cleanly(self):
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/bus")
        result = subprocess.run([PROBE, "post", NAME, OBJECT], env=env, capture_output=True, text=True)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("no session bus", result.stderr)


if __name__ == "__main__":
    unittest.main()
