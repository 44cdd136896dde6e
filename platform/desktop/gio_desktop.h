// SPDX-License-Identifier: MIT
#pragma once
// What the desktop keeps behind GIO: GSettings, services on the session
// bus, and the default applications of the shared MIME database. Plain
// types only, so no GLib header reaches the callers (Qt's among them).
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/result.h"

namespace platform::gio {

bool sessionBus();
bool hasSchemaKey(const std::string& schema, const std::string& key);
// Stored before it returns.
Status setDouble(const std::string& schema, const std::string& key, double value);
// A list of texts with this text in it (added at the end) or not (every copy
// taken out); stored before it returns when it changed.
Status setListed(const std::string& schema, const std::string& key, const std::string& text, bool listed);
// Whether a service has an object at path with this interface, within a
// second: asked through introspection, which calls nothing of the object's.
bool offers(const char* service, const char* path, const char* interface);

// Every device the "pointers" channel names, and the devices given (as
// the channel names them) whose property may not be there yet.
Status setXfconfAcceleration(double acceleration, const std::vector<std::string>& devices);
Status setKWinPointerAcceleration(double speed);
// Tells running Breeze programs to read breezerc again.
Status signalBreezeReparse();

struct DefaultApplication {
  std::string id;           // "thunar.desktop"
  std::string executable;   // the Exec line's program, as written there
  std::vector<std::string> arguments;  // the Exec line's words after it, field codes dropped
};
// The application a file of this type opens with, by the rules
// `xdg-mime query default` follows (mimeapps.list, then the caches).
std::optional<DefaultApplication> defaultApplicationFor(const std::string& contentType);

}  // namespace platform::gio
