# SPDX-License-Identifier: MIT
"""A native Wayland window over the whole screen, so that the pointer is over it wherever
the compositor puts it; prints "configured" once shown and "pointer entered" on entry."""
import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402


def main():
    window = Gtk.Window(title="native")
    window.connect("destroy", Gtk.main_quit)
    window.connect("map-event", lambda *_: print("configured", flush=True))
    window.connect("enter-notify-event", lambda *_: print("pointer entered", flush=True))
    window.fullscreen()
    window.show_all()
    Gtk.main()


main()
