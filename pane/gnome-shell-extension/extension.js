// SPDX-License-Identifier: MIT
// RetikonX runs on XWayland, whose X server sees the pointer only over X
// windows, so GNOME Shell tells it where the pointer is (stage coordinates,
// which XWayland shares) and which modifiers are held (Clutter's mask;
// RetikonX maps it to its own keys). RetikonX asks once, then listens: a
// change goes out as a signal, at most one per 40 ms while the pointer moves,
// and nothing at all while it rests or while no RetikonX runs.
const { Clutter, Gio, GLib, Meta } = imports.gi;

const PATH = '/com/Halvix/RetikonX/Pointer';
const INTERFACE = Gio.DBusNodeInfo.new_for_xml(`
<node>
  <interface name="com.Halvix.RetikonX.Pointer">
    <method name="GetPointer">
      <arg type="i" direction="out" name="x"/>
      <arg type="i" direction="out" name="y"/>
      <arg type="u" direction="out" name="modifiers"/>
    </method>
    <signal name="PointerChanged">
      <arg type="i" name="x"/>
      <arg type="i" name="y"/>
      <arg type="u" name="modifiers"/>
    </signal>
  </interface>
</node>`).interfaces[0];
const INTERVAL_MS = 40;
const BUTTONS = Clutter.ModifierType.BUTTON1_MASK | Clutter.ModifierType.BUTTON2_MASK |
    Clutter.ModifierType.BUTTON3_MASK | Clutter.ModifierType.BUTTON4_MASK | Clutter.ModifierType.BUTTON5_MASK;

function pointer() {
  const [x, y, modifiers] = global.get_pointer();
  return new GLib.Variant('(iiu)', [x, y, modifiers & ~BUTTONS]);
}

class Extension {
  enable() {
    this._listeners = new Map();  // bus name: its watch
    this._id = Gio.DBus.session.register_object(PATH, INTERFACE,
        (connection, sender, path, iface, method, parameters, invocation) => {
          this._listen(sender);
          invocation.return_value(pointer());
        }, null, null);
    // GNOME Shell turns extensions off round its lock screen: whoever
    // listened before hears of changes again without asking.
    for (const sender of this._resumed || [])
      this._listen(sender);
  }

  disable() {
    this._resumed = [...this._listeners.keys()];
    for (const sender of this._resumed)
      this._forget(sender);
    Gio.DBus.session.unregister_object(this._id);
  }

  // Who asked listens until it leaves the bus; with nobody listening the
  // shell does nothing for RetikonX.
  _listen(sender) {
    if (this._listeners.has(sender))
      return;
    this._listeners.set(sender, Gio.bus_watch_name_on_connection(Gio.DBus.session, sender,
        Gio.BusNameWatcherFlags.NONE, null, () => this._forget(sender)));
    if (this._listeners.size === 1)
      this._watchInput();
  }

  _forget(sender) {
    Gio.bus_unwatch_name(this._listeners.get(sender));
    this._listeners.delete(sender);
    if (this._listeners.size === 0)
      this._unwatchInput();
  }

  _watchInput() {
    this._sent = null;
    this._timer = 0;
    this._tracker = Meta.CursorTracker.get_for_display(global.display);
    this._moved = this._tracker.connect('position-invalidated', () => {
      if (!this._timer)
        this._timer = GLib.timeout_add(GLib.PRIORITY_DEFAULT, INTERVAL_MS, () => {
          this._timer = 0;
          this._report();
          return GLib.SOURCE_REMOVE;
        });
    });
    // No signal of the shell's tells of a key held over a native window, but
    // the idle monitor sees every input: shortly after the last one, the
    // modifiers are read again.
    this._monitor = (global.backend || Meta.get_backend()).get_core_idle_monitor();
    this._watch = this._monitor.add_idle_watch(INTERVAL_MS, () => this._report());
  }

  _unwatchInput() {
    this._monitor.remove_watch(this._watch);
    this._tracker.disconnect(this._moved);
    if (this._timer)
      GLib.source_remove(this._timer);
  }

  _report() {
    const now = pointer();
    if (this._sent && now.equal(this._sent))
      return;
    this._sent = now;
    Gio.DBus.session.emit_signal(null, PATH, INTERFACE.name, 'PointerChanged', now);
  }
}

function init() {
  return new Extension();
}
