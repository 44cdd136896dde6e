"""The defaults tool the pane runs to change the file manager's preference."""
import os
import plistlib
import subprocess
import tempfile
import unittest

TOOL = os.path.join(os.environ.get("RETIKON_BUILD", "build"), "platform", "defaults", "defaults")


class DefaultsTool(unittest.TestCase):
    def setUp(self):
        self.home = tempfile.TemporaryDirectory()
        # As on a fresh account: no ~/Library until something is written.
        self.folder = os.path.join(self.home.name, "Library", "Preferences")

    def tearDown(self):
        self.home.cleanup()

    def run_tool(self, *args):
        return subprocess.run([TOOL, *args], env=dict(os.environ, HOME=self.home.name),
                              capture_output=True, text=True)

    def finder_file(self):
        return os.path.join(self.folder, "com.apple.finder.plist")

    def test_writes_booleans_keeping_other_keys(self):
        os.makedirs(self.folder)
        with open(self.finder_file(), "wb") as f:
            plistlib.dump({"ShowPathbar": "yes", "Other": [1, 2]}, f, fmt=plistlib.FMT_BINARY)
        for word, value in (("true", True), ("no", False), ("yes", True), ("false", False)):
            self.assertEqual(self.run_tool("write", "com.apple.finder", "AnimateWindowZoom", "-bool", word).returncode, 0)
            with open(self.finder_file(), "rb") as f:
                stored = plistlib.load(f)
            self.assertIs(stored["AnimateWindowZoom"], value)
            self.assertEqual(stored["Other"], [1, 2])
        self.assertEqual(self.run_tool("read", "com.apple.finder", "AnimateWindowZoom").stdout, "0\n")
        self.assertEqual(self.run_tool("read", "com.apple.finder", "ShowPathbar").stdout, "yes\n")

    def test_creates_a_missing_domain(self):
        self.assertEqual(self.run_tool("write", "com.example.new", "Flag", "-bool", "yes").returncode, 0)
        with open(os.path.join(self.folder, "com.example.new.plist"), "rb") as f:
            self.assertEqual(plistlib.load(f), {"Flag": True})
        self.assertEqual(os.stat(self.folder).st_mode & 0o777, 0o700)
        usage = self.run_tool("--help")
        self.assertEqual((usage.returncode, usage.stderr), (0, ""))
        self.assertIn("defaults write DOMAIN KEY", usage.stdout)

    def test_refuses_what_it_must_not_do(self):
        os.makedirs(self.folder)
        with open(self.finder_file(), "wb") as f:
            f.write(b"not a property list")
        refused = self.run_tool("write", "com.apple.finder", "AnimateWindowZoom", "-bool", "true")
        self.assertNotEqual(refused.returncode, 0)
        self.assertIn("not overwritten", refused.stderr)
        with open(self.finder_file(), "rb") as f:
            self.assertEqual(f.read(), b"not a property list")
        for args in (("write", "../../escape", "K", "-bool", "true"), ("write", "com.apple.finder", "K", "-bool", "maybe"),
                     ("write", "com.apple.finder", "K", "-int", "1"), ("read", "com.example.absent"), ("frobnicate", "x")):
            result = self.run_tool(*args)
            self.assertNotEqual(result.returncode, 0, args)
            self.assertTrue(result.stderr, args)
        self.assertEqual(sorted(os.listdir(self.folder)), ["com.apple.finder.plist"])


if __name__ == "__main__":
    unittest.main()
