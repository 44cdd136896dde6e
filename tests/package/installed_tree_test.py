# SPDX-License-Identifier: MIT
"""The tree that `cmake --install` makes, installed with DESTDIR into a temporary
folder: the menu entry and the metainfo pass their validators, RetikonX on the
command path answers --version, and the installed host opens the pane the menu
entry names, which starts the RetikonX it carries."""

import os
import plistlib
import shlex
import subprocess
import tempfile

import e2e_support as e2e

OVERLAY = os.path.join("Contents", "Resources", "RetikonX.app")


def the_installed_tree_runs():
    with tempfile.TemporaryDirectory(prefix="retikon-install-") as root, e2e.temp_home() as home:
        subprocess.run(["cmake", "--install", e2e.BUILD, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=root),
                       check=True, stdout=subprocess.DEVNULL)
        share = os.path.join(root, "usr", "share")
        entry = os.path.join(share, "applications", "com.Halvix.Vantrel.desktop")
        subprocess.run(["desktop-file-validate", entry], check=True)
        subprocess.run(["appstreamcli", "validate", "--no-net",
                        os.path.join(share, "metainfo", "com.Halvix.Vantrel.metainfo.xml")], check=True)
        keys = dict(line.rstrip("\n").split("=", 1) for line in open(entry) if "=" in line)
        assert os.path.isfile(os.path.join(share, "icons", "hicolor", "scalable", "apps", keys["Icon"] + ".svg")), keys
        # The entry names the installed paths; here they lie under DESTDIR.
        host, pane = (root + path for path in shlex.split(keys["Exec"]))

        overlay = os.path.join(pane, OVERLAY, "Contents", "MacOS", "RetikonX")
        # KWin finds the overlay's hidden entry by its Exec line, and gives it the protocols the entry names.
        overlay_entry = os.path.join(share, "applications", "com.Halvix.RetikonX.desktop")
        subprocess.run(["desktop-file-validate", overlay_entry], check=True)
        overlay_keys = dict(line.rstrip("\n").split("=", 1) for line in open(overlay_entry) if "=" in line)
        assert [root + path for path in shlex.split(overlay_keys["Exec"])] == [overlay], overlay_keys
        assert overlay_keys["X-KDE-Wayland-Interfaces"] == "org_kde_kwin_keystate", overlay_keys
        with open(os.path.join(pane, OVERLAY, "Contents", "Info.plist"), "rb") as info:
            version = plistlib.load(info)["CFBundleShortVersionString"]
        command = os.path.join(os.path.dirname(host), "RetikonX")
        assert os.path.realpath(command) == os.path.realpath(overlay), command
        answer = subprocess.run([command, "--version"], capture_output=True, text=True, check=True).stdout
        assert answer == "RetikonX %s\n" % version, answer

        # Switched on with none running, the pane starts the overlay it carries.
        e2e.write_settings(home, retikon=1, DispKind=0)
        e2e.wait_for(lambda: not e2e.overlays(), timeout=60, what="other tests' RetikonX to end")
        with e2e.Program([host, pane], home, QT_QPA_PLATFORM="offscreen",
                         XDG_CONFIG_HOME=os.path.join(home, ".config")) as window:
            e2e.wait_for(lambda: e2e.overlays(overlay) or window.poll() is not None, timeout=30,
                         what="the installed pane starting its RetikonX")
            assert window.poll() is None, "the host ended: %s" % (window.stop(),)


if __name__ == "__main__":
    e2e.run_cases(the_installed_tree_runs)
