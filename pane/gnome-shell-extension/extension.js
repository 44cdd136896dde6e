// SPDX-License-Identifier: MIT
// RetikonX runs on XWayland, whose X server sees the pointer only over X
// windows. Ten times a second it asks GNOME Shell, through this one method,
// where the pointer is (stage coordinates, which XWayland shares) and which
// modifiers are held (Clutter's mask; RetikonX maps it to its own keys).
const { Gio, GLib } = imports.gi;

const INTERFACE = Gio.DBusNodeInfo.new_for_xml(`
<node>
  <interface name="com.Halvix.RetikonX.Pointer">
    <method name="GetPointer">
      <arg type="i" direction="out" name="x"/>
      <arg type="i" direction="out" name="y"/>
      <arg type="u" direction="out" name="modifiers"/>
    </method>
  </interface>
</node>`).interfaces[0];

class Extension {
  enable() {
    // Answered straight from the call, without a wrapped object: every tick
    // of the overlay costs the shell as little as a call can.
    this._id = Gio.DBus.session.register_object('/com/Halvix/RetikonX/Pointer', INTERFACE,
        (connection, sender, path, iface, method, parameters, invocation) =>
            invocation.return_value(new GLib.Variant('(iiu)', global.get_pointer())),
        null, null);
  }

  disable() {
    Gio.DBus.session.unregister_object(this._id);
  }
}

function init() {
  return new Extension();
}
