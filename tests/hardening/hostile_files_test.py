# SPDX-License-Identifier: MIT
"""Hostile things at the settings file's path against every reader: the real overlay,
the defaults tool and the settings page's save (through the settings probe) finish in
bounded memory without crashing; a file they cannot read is refused with the reason,
and no writer changes the path. Then a home folder that cannot be trusted: every
program refuses to start. Each run's status, time and peak memory are printed."""
import os
import pathlib
import pwd
import plistlib
import shutil
import struct
import subprocess
import sys
import tempfile

import e2e_support as e2e

# The overlay runs in a few MB; a reader that expanded a shared child at every
# reference, read /dev/zero to the end or kept a huge tree would be far beyond this.
LARGEST_RSS_KB = 64 * 1024
DEEP = 30000
# No uid of this machine's password database: a user without a home folder.
HOMELESS_UID = 54321


def nested_binary():
    """{"deep": [[[...]]]}, one array in the next, DEEP of them."""
    deep = []
    for _ in range(DEEP):
        deep = [deep]
    sys.setrecursionlimit(10 * DEEP)  # plistlib writes nested values recursively
    return plistlib.dumps({"deep": deep}, fmt=plistlib.FMT_BINARY)


def shared_children(depth, fan):
    """A binary file a few hundred bytes long: {"k": a}, each array holding fan
    references to the next, depth of them; written out in full it has fan**depth leaves."""
    objects = [bytes([0xD1, 1, 2]), b"\x51k"] + [bytes([0xA0 | fan]) + bytes([3 + i]) * fan for i in range(depth)]
    objects.append(b"\x09")
    body, offsets = b"bplist00", []
    for o in objects:
        offsets.append(len(body))
        body += o
    table = len(body)
    body += b"".join(struct.pack(">H", offset) for offset in offsets)
    return body + b"\0" * 6 + bytes([2, 1]) + struct.pack(">QQQ", len(objects), 0, table)


def deep_xml(prefix=b"", first_tag=b"", suffix=b""):
    closing = b"</array>" * (DEEP + (1 if first_tag else 0))
    return prefix + b"<plist><dict><key>d</key>" + first_tag + b"<array>" * DEEP + closing + suffix + b"</dict></plist>"


def exactly_one_mib():
    head, tail = b"<plist><dict><key>pad</key><string>", b"</string></dict></plist>"
    return head + b"x" * ((1 << 20) - len(head) - len(tail)) + tail


def regular(content, mode=0o600):
    def make(path, _):
        pathlib.Path(path).write_bytes(content)
        os.chmod(path, mode)
    return make


def link_to_notes(path, home):
    pathlib.Path(home, "notes.txt").write_text("just some notes, not settings\n")
    os.symlink(os.path.join(home, "notes.txt"), path)


# (name, how to make it, whether the readers can read it)
CASES = [
    # Written by hand: plistlib's XML would be refused for its size before its depth.
    ("30000 nested arrays (XML)", regular(deep_xml()), False),
    ("30000 nested arrays (binary)", regular(nested_binary()), False),
    ("shared children, 21 deep (binary)", regular(shared_children(21, 2)), False),
    ("a fan-out of 14, 7 deep (binary)", regular(shared_children(7, 14)), False),
    ("a quote inside a tag, 30000 deep (XML)", regular(deep_xml(first_tag=b"<array x='>")), False),
    # A bracket in quotes, closed only after the deep part.
    ("a DOCTYPE with a bracket, 30000 deep (XML)",
     regular(deep_xml(b'<!DOCTYPE plist "[" >', suffix=b"<key>e</key><string>]</string>")), False),
    ("a FIFO", lambda path, _: os.mkfifo(path, 0o600), False),
    ("a symlink to /dev/zero", lambda path, _: os.symlink("/dev/zero", path), False),
    ("2 MiB of property list", regular(b"<plist><dict><key>k</key><string>" + b"9" * (2 << 20) +
                                       b"</string></dict></plist>"), False),
    ("mode 0000", regular(b"<plist><dict><key>retikon</key><string>1</string></dict></plist>", 0), False),
    ("a symlink to a text file", link_to_notes, False),
    # Read by all; any write would make it larger than a reader takes.
    ("a valid file of exactly 1 MiB", regular(exactly_one_mib()), True),
]


def runnable_copies(folder, programs, uid):
    """Copies of the programs that the user uid can run, in a folder it owns: that
    user may not reach the build (or, for a homeless one, any home)."""
    os.makedirs(os.path.join(folder, "bin"))
    copies = [shutil.copy(program, os.path.join(folder, "bin")) for program in programs]
    for place, _, files in os.walk(folder):
        for name in [place] + [os.path.join(place, f) for f in files]:
            os.lchown(name, uid, uid)
    return ["setpriv", "--reuid=%d" % uid, "--regid=%d" % uid, "--clear-groups"], copies


def snapshot(path):
    status = os.lstat(path)
    if os.path.islink(path):
        return status.st_mode, status.st_ino, os.readlink(path)
    return status.st_mode, status.st_ino, open(path, "rb").read() if os.path.isfile(path) else None


class Runs:
    """Runs programs under GNU time (a child forked from this Python would carry its
    size) and keeps a table of status, seconds and peak memory."""

    def __init__(self):
        self.stats, self.rows = tempfile.mkstemp(prefix="retikon-time-")[1], []

    def __call__(self, case, who, argv, env, cwd=None):
        result = subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", self.stats] + argv, env=env, cwd=cwd,
                                capture_output=True, text=True, errors="replace", timeout=120,
                                stdin=subprocess.DEVNULL)
        seconds, rss = open(self.stats).read().split()[-2:]
        result.rss = int(rss)
        self.rows.append("| %s | %s | %s | %s s | %.1f MB |" % (case, who, result.returncode, seconds, result.rss / 1024))
        return result

    def print_table(self):
        print("| file | program | status | time | peak memory |\n|---|---|---|---|---|\n" + "\n".join(self.rows))


def every_reader_survives_every_hostile_file():
    failures = []
    for name, make, readable in CASES:
        with e2e.temp_home() as home:
            path = e2e.settings_path(home)
            os.makedirs(os.path.dirname(path), mode=0o700)
            make(path, home)
            prefix, (overlay, defaults, probe) = [], (e2e.RETIKONX, e2e.DEFAULTS, e2e.PROBE)
            if name == "mode 0000" and os.geteuid() == 0:
                # Root reads a mode 0000 file all the same: run as its owner.
                nobody = pwd.getpwnam("nobody").pw_uid
                prefix, (overlay, defaults, probe) = runnable_copies(home, (overlay, defaults, probe), nobody)
                os.lchown(os.path.dirname(path), nobody, nobody)
                os.lchown(os.path.dirname(os.path.dirname(path)), nobody, nobody)
                os.lchown(path, nobody, nobody)
            before = snapshot(path)
            env = dict(os.environ, HOME=home)

            def run(who, *argv):
                return RUNS(name, who, prefix + list(argv), env)
            quit = run("RetikonX", overlay)
            said_why = "cannot read the settings" in quit.stderr
            if quit.returncode != 0 or quit.rss > LARGEST_RSS_KB or said_why == readable:
                failures.append("%s: overlay status=%s rss=%d kB stderr=%r" % (name, quit.returncode, quit.rss,
                                                                              quit.stderr[-300:]))
            for who, refused, result in (
                    ("defaults write", True, run("defaults write", defaults, "write", "com.Halvix.RetikonX", "retikon",
                                                 "-bool", "true")),
                    ("defaults read", not readable, run("defaults read", defaults, "read", "com.Halvix.RetikonX")),
                    ("page save", True, run("page save", probe, path, "1", "0", "s_Retikon=1"))):
                gave_reason = result.returncode != 0 and result.stderr.strip()
                if bool(gave_reason) != refused or "Sanitizer" in result.stderr or result.rss > LARGEST_RSS_KB:
                    failures.append("%s: %s status=%s rss=%d kB stderr=%r" % (name, who, result.returncode, result.rss,
                                                                             result.stderr[-300:]))
            if snapshot(path) != before:
                failures.append("%s: the path was changed" % name)
            if os.listdir(os.path.dirname(path)) != [os.path.basename(path)]:
                failures.append("%s: left behind %s" % (name, os.listdir(os.path.dirname(path))))
    assert not failures, "\n".join(failures)


def no_program_starts_without_a_home_folder_it_can_trust():
    """Unset, empty or relative HOME for a user the password database does not know:
    nothing may land under / or the current folder."""
    failures = []
    with tempfile.TemporaryDirectory(prefix="retikon-homeless-") as folder:
        os.chmod(folder, 0o755)
        prefix, (overlay, defaults, host) = runnable_copies(folder, (e2e.RETIKONX, e2e.DEFAULTS, e2e.HOST),
                                                            HOMELESS_UID)
        work = os.path.join(folder, "work")
        os.makedirs(work)
        os.chown(work, HOMELESS_UID, HOMELESS_UID)
        for home in (None, "", "relative/home"):
            env = {k: v for k, v in os.environ.items() if k != "HOME"}
            if home is not None:
                env["HOME"] = home
            for who, argv in (("RetikonX", [overlay]),
                              ("defaults write", [defaults, "write", "com.Halvix.RetikonX", "retikon", "-bool", "true"]),
                              ("prefpane-host", [host, e2e.BUNDLE])):
                result = RUNS("HOME %r, no password entry" % home, who, prefix + argv, env, cwd=work)
                if result.returncode == 0 or "no home folder" not in result.stderr:
                    failures.append("HOME=%r: %s status=%s stderr=%r" % (home, who, result.returncode,
                                                                        result.stderr[-300:]))
        if os.listdir(work) or os.path.exists("/Library/Preferences/com.Halvix.RetikonX.plist"):
            failures.append("files written without a home: %s" % os.listdir(work))
    assert not failures, "\n".join(failures)


RUNS = Runs()

if __name__ == "__main__":
    try:
        e2e.run_cases(every_reader_survives_every_hostile_file, no_program_starts_without_a_home_folder_it_can_trust)
    finally:
        RUNS.print_table()
        os.unlink(RUNS.stats)
