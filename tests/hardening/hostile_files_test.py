"""Hostile things at the settings file's path, against every reader: the real
overlay (must quit promptly, saying why, without crashing or growing), the
defaults tool (refuses, names the reason, leaves the path as it was) and the
settings page's save through the settings probe (the same)."""
import os
import pwd
import shutil
import struct
import subprocess

import e2e_support as e2e

PROBE = os.path.join(e2e.build_dir(), "tests", "tools", "settings_probe")
DEFAULTS = os.path.join(e2e.build_dir(), "platform", "defaults", "defaults")
DOMAIN = "com.Halvix.RetikonX"
# The overlay runs in about 2 MB; a reader that read /dev/zero to the end
# or kept a huge tree would be far beyond this.
LARGEST_RSS_KB = 64 * 1024
DEEP = 30000


def nested_xml():
    return ("<plist><dict><key>retikon</key><string>1</string><key>deep</key>" + "<array>" * DEEP +
            "</array>" * DEEP + "</dict></plist>").encode()


def nested_binary():
    """{"deep": [[[...]]]}, one array per level, each referring to the next."""
    objects = [bytes([0xD1]) + struct.pack(">II", DEEP + 1, 1)]
    for level in range(1, DEEP + 1):
        objects.append(bytes([0xA1]) + struct.pack(">I", level + 1) if level < DEEP else bytes([0xA0]))
    objects.append(bytes([0x54]) + b"deep")
    body, offsets = b"bplist00", []
    for item in objects:
        offsets.append(len(body))
        body += item
    table = len(body)
    body += b"".join(struct.pack(">I", offset) for offset in offsets)
    return body + bytes(6) + bytes([4, 4]) + struct.pack(">QQQ", len(objects), 0, table)


def regular(content):
    def make(path, _):
        with open(path, "wb") as f:
            f.write(content)
    return make


def fifo(path, _):
    os.mkfifo(path, 0o600)


def link_to(target):
    def make(path, home):
        real = target if target.startswith("/dev") else os.path.join(home, target)
        if not real.startswith("/dev"):
            with open(real, "w") as f:
                f.write("just some notes, not settings\n")
        os.symlink(real, path)
    return make


def unreadable(path, home):
    regular(b'<plist><dict><key>retikon</key><string>1</string></dict></plist>')(path, home)
    os.chmod(path, 0)


CASES = [
    ("30000 nested arrays (XML)", regular(nested_xml())),
    ("30000 nested arrays (binary)", regular(nested_binary())),
    ("a FIFO", fifo),
    ("a symlink to /dev/zero", link_to("/dev/zero")),
    ("2 MiB of property list", regular(b"<plist><dict><key>k</key><string>" + b"9" * (2 << 20) +
                                       b"</string></dict></plist>")),
    ("mode 0000", unreadable),
    ("a symlink to a text file", link_to("notes.txt")),
]


def as_owner(home, programs):
    """Root reads a mode 0000 file all the same, so the programs run as an
    ordinary user who owns this home. They run from copies in it, since that
    user may not reach the build folder."""
    if os.geteuid() != 0:
        return [], programs
    copies = os.path.join(home, "bin")
    os.makedirs(copies)
    programs = {role: shutil.copy(program, copies) for role, program in programs.items()}
    nobody = pwd.getpwnam("nobody")
    for folder, _, files in os.walk(home):
        for name in [folder] + [os.path.join(folder, f) for f in files]:
            os.lchown(name, nobody.pw_uid, nobody.pw_gid)
    return ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid, "--clear-groups"], programs


def snapshot(path):
    status = os.lstat(path)
    content = None
    if os.path.islink(path):
        content = os.readlink(path)
    elif os.path.isfile(path):
        with open(path, "rb") as f:  # root reads a mode 0000 file too
            content = f.read()
    return status.st_mode, status.st_ino, content


def run_overlay(prefix, home, overlay):
    """Exit status, seconds to exit, peak resident kilobytes, stderr. GNU time
    measures: a child forked from this Python would carry its size."""
    stats = os.path.join(home, "..overlay.stats")
    try:
        finished = subprocess.run(prefix + ["/usr/bin/time", "-f", "%e %M", "-o", stats, overlay],
                                  env=dict(os.environ, HOME=home), stdin=subprocess.DEVNULL,
                                  capture_output=True, text=True, errors="replace", timeout=10)
    except subprocess.TimeoutExpired:
        return None, 10.0, 0, "still running after 10 s"
    with open(stats) as f:
        seconds, rss = f.read().split()[-2:]
    os.remove(stats)
    return finished.returncode, float(seconds), int(rss), finished.stderr


def run(prefix, home, argv):
    return subprocess.run(prefix + argv, env=dict(os.environ, HOME=home), capture_output=True, text=True,
                          timeout=10, stdin=subprocess.DEVNULL)


def every_reader_survives_every_hostile_file():
    failures, figures = [], []
    for name, make in CASES:
        with e2e.temp_home() as home:
            path = e2e.settings_path(home)
            os.makedirs(os.path.dirname(path), mode=0o700)
            make(path, home)
            prefix, programs = [], {"overlay": e2e.retikonx_path(), "defaults": DEFAULTS, "probe": PROBE}
            if make is unreadable:
                prefix, programs = as_owner(home, programs)
            before = snapshot(path)

            status, seconds, rss, err = run_overlay(prefix, home, programs["overlay"])
            figures.append("%-30s overlay exit %s in %.2f s, peak RSS %d kB" % (name, status, seconds, rss))
            if status != 0 or rss > LARGEST_RSS_KB or "cannot read the settings" not in err:
                failures.append("%s: overlay status=%s rss=%d kB stderr=%r" % (name, status, rss, err[-300:]))

            written = run(prefix, home, [programs["defaults"], "write", DOMAIN, "retikon", "-bool", "true"])
            read = run(prefix, home, [programs["defaults"], "read", DOMAIN])
            saved = run(prefix, home, [programs["probe"], "save", path, "s_Retikon=1"])
            for who, result in (("defaults write", written), ("defaults read", read), ("page save", saved)):
                if result.returncode == 0 or not result.stderr.strip() or "Sanitizer" in result.stderr:
                    failures.append("%s: %s status=%s stderr=%r" % (name, who, result.returncode, result.stderr))
            if snapshot(path) != before:
                failures.append("%s: the path was changed" % name)
            leftovers = sorted(set(os.listdir(os.path.dirname(path))) - {os.path.basename(path)})
            if leftovers:
                failures.append("%s: left behind %s" % (name, leftovers))
            figures[-1] += "; tool %d/%d, page save %d: %s" % (written.returncode, read.returncode,
                                                               saved.returncode, saved.stderr.strip()[-90:])
    print("\n".join(figures))
    assert not failures, "\n".join(failures)


e2e.run_cases(every_reader_survives_every_hostile_file)
