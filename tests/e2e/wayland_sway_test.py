# SPDX-License-Identifier: MIT
"""RetikonX on a headless sway (wlroots), which gives programs on XWayland no way to
learn where the pointer is: it draws no arms and says why, once, on stderr. sway
refuses to run as root, so the session belongs to the unprivileged user nobody."""

import os
import pwd

from e2e_support import RETIKONX, holds_for, run_cases, write_settings
from wayland_support import Program, arms, enter_private_namespace, private_session, wait_for, xwayland

enter_private_namespace()

USER = pwd.getpwnam("nobody")
AS_USER = ["setpriv", "--reuid=%d" % USER.pw_uid, "--regid=%d" % USER.pw_gid, "--clear-groups"]


def main():
    with private_session("sway", owner=USER) as home:
        config = os.path.join(home, "sway.conf")
        with open(config, "w") as f:
            f.write("xwayland force\n")
        with Program(AS_USER + ["sway", "-c", config], WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                     WLR_LIBINPUT_NO_DEVICES="1") as sway:
            x_client = xwayland(os.environ["XDG_RUNTIME_DIR"])
            wayland = wait_for(lambda: [n for n in os.listdir(os.environ["XDG_RUNTIME_DIR"])
                                        if n.startswith("wayland-") and not n.endswith(".lock")],
                               what="sway's socket")[0]

            def no_arms_and_the_reason():
                write_settings(home, retikon=1, DispKind=1, WinWidth=5)
                for folder, _, files in os.walk(os.path.join(home, "Library")):
                    for path in [folder] + [os.path.join(folder, name) for name in files]:
                        os.chown(path, USER.pw_uid, USER.pw_gid)
                with Program(AS_USER + [RETIKONX], home, WAYLAND_DISPLAY=wayland, **x_client) as overlay:
                    wait_for(lambda: "cannot follow the pointer" in overlay.output() or overlay.poll() is not None,
                             what="the reason on stderr")
                    assert holds_for(lambda: overlay.poll() is None and not arms(x_client), 2.0), \
                        (arms(x_client), overlay.output())
                    said = overlay.output()
                    assert said.count("cannot follow the pointer") == 1 and "(sway)" in said, said

            run_cases(no_arms_and_the_reason)
        assert sway.poll() is None or sway.returncode == 0, sway.output()


main()
