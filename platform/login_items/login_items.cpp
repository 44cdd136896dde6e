// SPDX-License-Identifier: MIT
#include "login_items.h"

#include <cerrno>
#include <cstring>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/path_component.h"
#include "platform/foundation/text.h"
#include "platform/process/app_bundle.h"

namespace platform {

std::string desktopEntryString(std::string_view value) {
  std::string escaped;
  for (char c : value) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      case '\r': escaped += "\\r"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string desktopEntryExecArgument(std::string_view argument) {
  // Always quoted: then no reserved character can split or redirect it.
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    // A percent sign would start a field code.
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return desktopEntryString(quoted);
}

std::string LoginItems::autostartFolder() { return configHome() + "/autostart"; }

std::optional<std::string> LoginItems::entryPath(std::string_view name) {
  if (!isSinglePathComponent(name)) return std::nullopt;
  return autostartFolder() + "/" + std::string(name) + ".desktop";
}

Status LoginItems::add(const std::string& path) {
  const std::string name = applicationName(path);
  auto entry = entryPath(name);
  if (!entry) return fail("no login item can be named \"" + name + "\"");
  // A bundle that cannot be read yet (not installed so far) is expected to
  // carry a program of its own name, as every bundle this system builds does.
  std::string executable = path;
  if (isApplicationBundle(path))
    executable = bundleExecutable(path).value_or(path + "/Contents/MacOS/" + name);

  if (Status made = makeFolders(autostartFolder(), 0777); !made) return made;
  std::string content = "[Desktop Entry]\nType=Application\nName=" + desktopEntryString(name) +
                        "\nExec=" + desktopEntryExecArgument(executable) + "\n";
  return writeFileAtomically(*entry, content);
}

Status LoginItems::remove(std::string_view name) {
  auto entry = entryPath(name);
  if (!entry) return fail("no login item can be named \"" + std::string(name) + "\"");
  if (std::remove(entry->c_str()) != 0) return fail(*entry + ": " + std::strerror(errno));
  return {};
}

}  // namespace platform
