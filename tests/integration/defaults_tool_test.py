# SPDX-License-Identifier: MIT
"""The defaults tool the pane runs: booleans written keeping other keys, what a fresh
account lacks made, requests it must not carry out refused (unreadable files: the
hostile files test)."""
import os
import plistlib
import subprocess

import e2e_support as e2e


def writes_keeps_and_refuses():
    with e2e.temp_home() as home:
        def tool(*args):
            return subprocess.run([e2e.DEFAULTS, *args], env=dict(os.environ, HOME=home), capture_output=True,
                                  text=True)
        folder = os.path.join(home, "Library", "Preferences")
        assert tool("write", "com.example.new", "Flag", "-bool", "yes").returncode == 0
        assert os.stat(folder).st_mode & 0o777 == 0o700
        assert plistlib.loads(open(os.path.join(folder, "com.example.new.plist"), "rb").read()) == {"Flag": True}
        finder = os.path.join(folder, "com.apple.finder.plist")
        with open(finder, "wb") as f:
            plistlib.dump({"ShowPathbar": "yes", "Other": [1, 2]}, f, fmt=plistlib.FMT_BINARY)
        for word, value in (("true", True), ("no", False), ("yes", True), ("false", False)):
            assert tool("write", "com.apple.finder", "AnimateWindowZoom", "-bool", word).returncode == 0
            stored = plistlib.loads(open(finder, "rb").read())
            assert stored["AnimateWindowZoom"] is value and stored["Other"] == [1, 2], (word, stored)
        assert tool("read", "com.apple.finder", "AnimateWindowZoom").stdout == "0\n"
        assert tool("read", "com.apple.finder", "ShowPathbar").stdout == "yes\n"

        for args in (("write", "../../escape", "K", "-bool", "true"), ("write", "com.finder", "K", "-bool", "no!"),
                     ("write", "com.apple.finder", "K", "-int", "1"), ("read", "com.example.absent"), ("frob", "x")):
            result = tool(*args)
            assert result.returncode != 0 and result.stderr, args
        assert sorted(os.listdir(folder)) == ["com.apple.finder.plist", "com.example.new.plist"]
        assert os.listdir(home) == ["Library"], "written outside the preferences folder"


if __name__ == "__main__":
    e2e.run_cases(writes_keeps_and_refuses)
