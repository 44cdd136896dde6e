# SPDX-License-Identifier: MIT
"""Hostile things at the settings file's path against every reader: the real overlay
quits, saying why, without crashing or growing; the defaults tool and the settings
page's save (through the settings probe) refuse, say why and leave the path as it was."""
import os
import pathlib
import pwd
import plistlib
import shutil
import subprocess
import sys

import e2e_support as e2e

# The overlay runs in about 2 MB; a reader that read /dev/zero to the end
# or kept a huge tree would be far beyond this.
LARGEST_RSS_KB = 64 * 1024
DEEP = 30000


def nested_binary():
    """{"deep": [[[...]]]}, one array in the next, DEEP of them."""
    deep = []
    for _ in range(DEEP):
        deep = [deep]
    sys.setrecursionlimit(10 * DEEP)  # plistlib writes nested values recursively
    return plistlib.dumps({"deep": deep}, fmt=plistlib.FMT_BINARY)


def regular(content, mode=0o600):
    def make(path, _):
        pathlib.Path(path).write_bytes(content)
        os.chmod(path, mode)
    return make


def link_to_notes(path, home):
    pathlib.Path(home, "notes.txt").write_text("just some notes, not settings\n")
    os.symlink(os.path.join(home, "notes.txt"), path)


CASES = [
    # Written by hand: plistlib's XML would be refused for its size before its depth.
    ("30000 nested arrays (XML)", regular(b"<plist><dict><key>deep</key>" + b"<array>" * DEEP + b"</array>" * DEEP +
                                          b"</dict></plist>")),
    ("30000 nested arrays (binary)", regular(nested_binary())),
    ("a FIFO", lambda path, _: os.mkfifo(path, 0o600)),
    ("a symlink to /dev/zero", lambda path, _: os.symlink("/dev/zero", path)),
    ("2 MiB of property list", regular(b"<plist><dict><key>k</key><string>" + b"9" * (2 << 20) +
                                       b"</string></dict></plist>")),
    ("mode 0000", regular(b"<plist><dict><key>retikon</key><string>1</string></dict></plist>", 0)),
    ("a symlink to a text file", link_to_notes),
]


def as_owner(home, programs):
    """Root reads a mode 0000 file all the same: the programs run as an ordinary user
    who owns this home, from copies in it, since that user may not reach the build."""
    if os.geteuid() != 0:
        return [], programs
    os.makedirs(os.path.join(home, "bin"))
    programs = [shutil.copy(program, os.path.join(home, "bin")) for program in programs]
    nobody = pwd.getpwnam("nobody")
    for folder, _, files in os.walk(home):
        for name in [folder] + [os.path.join(folder, f) for f in files]:
            os.lchown(name, nobody.pw_uid, nobody.pw_gid)
    return ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid, "--clear-groups"], programs


def snapshot(path):
    status = os.lstat(path)
    if os.path.islink(path):
        return status.st_mode, status.st_ino, os.readlink(path)
    return status.st_mode, status.st_ino, open(path, "rb").read() if os.path.isfile(path) else None


def every_reader_survives_every_hostile_file():
    failures = []
    for name, make in CASES:
        with e2e.temp_home() as home:
            path = e2e.settings_path(home)
            os.makedirs(os.path.dirname(path), mode=0o700)
            make(path, home)
            prefix, (overlay, defaults, probe) = [], (e2e.RETIKONX, e2e.DEFAULTS, e2e.PROBE)
            if name == "mode 0000":
                prefix, (overlay, defaults, probe) = as_owner(home, (overlay, defaults, probe))
            before = snapshot(path)  # root reads a mode 0000 file too

            def run(*argv):
                return subprocess.run(prefix + list(argv), env=dict(os.environ, HOME=home), capture_output=True,
                                      text=True, errors="replace", timeout=10, stdin=subprocess.DEVNULL)
            # GNU time measures: a child forked from this Python would carry its size.
            stats = os.path.join(home, "..overlay.stats")
            quit = run("/usr/bin/time", "-f", "%M", "-o", stats, overlay)
            rss = int(open(stats).read().split()[-1])
            if quit.returncode != 0 or rss > LARGEST_RSS_KB or "cannot read the settings" not in quit.stderr:
                failures.append("%s: overlay status=%s rss=%d kB stderr=%r" % (name, quit.returncode, rss,
                                                                              quit.stderr[-300:]))
            for who, result in (("defaults write", run(defaults, "write", "com.Halvix.RetikonX", "retikon", "-bool",
                                                       "true")),
                                ("defaults read", run(defaults, "read", "com.Halvix.RetikonX")),
                                ("page save", run(probe, path, "1", "0", "s_Retikon=1"))):
                if result.returncode == 0 or not result.stderr.strip() or "Sanitizer" in result.stderr:
                    failures.append("%s: %s status=%s stderr=%r" % (name, who, result.returncode, result.stderr))
            if snapshot(path) != before:
                failures.append("%s: the path was changed" % name)
            if os.listdir(os.path.dirname(path)) != [os.path.basename(path)]:
                failures.append("%s: left behind %s" % (name, os.listdir(os.path.dirname(path))))
    assert not failures, "\n".join(failures)


e2e.run_cases(every_reader_survives_every_hostile_file)
