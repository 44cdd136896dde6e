// SPDX-License-Identifier: MIT
// For the tests only: GNOME Shell answers its screenshot interface to any
// caller in unsafe mode, so that the tests can read back what it shows.
class Extension {
  enable() {
    global.context.unsafe_mode = true;
  }

  disable() {
    global.context.unsafe_mode = false;
  }
}

function init() {
  return new Extension();
}
