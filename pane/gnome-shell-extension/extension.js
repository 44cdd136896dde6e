// RetikonX runs on XWayland, whose X server sees the pointer only over X
// windows. Ten times a second it asks GNOME Shell, through this one method,
// where the pointer is (stage coordinates, which XWayland shares) and which
// modifiers are held (Clutter's mask; RetikonX maps it to its own keys).
const { Gio } = imports.gi;

const INTERFACE = `
<node>
  <interface name="com.Halvix.RetikonX.Pointer">
    <method name="GetPointer">
      <arg type="i" direction="out" name="x"/>
      <arg type="i" direction="out" name="y"/>
      <arg type="u" direction="out" name="modifiers"/>
    </method>
  </interface>
</node>`;

class PointerService {
  GetPointer() {
    return global.get_pointer();
  }
}

class Extension {
  enable() {
    this._exported = Gio.DBusExportedObject.wrapJSObject(INTERFACE, new PointerService());
    this._exported.export(Gio.DBus.session, '/com/Halvix/RetikonX/Pointer');
  }

  disable() {
    this._exported.unexport();
    this._exported = null;
  }
}

function init() {
  return new Extension();
}
