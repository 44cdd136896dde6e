#include "login_items.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/foundation/atomic_file.h"
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

std::string LoginItems::autostartFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/autostart";
  return expandTilde("~/.config") + "/autostart";
}

std::optional<std::string> LoginItems::entryPath(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
      name.find('\0') != std::string_view::npos)
    return std::nullopt;
  return autostartFolder() + "/" + std::string(name) + ".desktop";
}

std::optional<std::string> LoginItems::add(const std::string& path) {
  const std::string name = applicationName(path);
  auto entry = entryPath(name);
  if (!entry) return "no login item can be named \"" + name + "\"";
  // A bundle that cannot be read yet (not installed so far) is expected to
  // carry a program of its own name, as every bundle this system builds does.
  std::string executable = path;
  if (isApplicationBundle(path))
    executable = bundleExecutable(path).value_or(path + "/Contents/MacOS/" + name);

  std::error_code error;
  std::filesystem::create_directories(autostartFolder(), error);
  if (error) return autostartFolder() + ": " + error.message();
  std::string content = "[Desktop Entry]\nType=Application\nName=" + desktopEntryString(name) +
                        "\nExec=" + desktopEntryExecArgument(executable) + "\n";
  if (auto failure = writeFileAtomically(*entry, content)) return failure;
  return std::nullopt;
}

std::optional<std::string> LoginItems::remove(std::string_view name) {
  auto entry = entryPath(name);
  if (!entry) return "no login item can be named \"" + std::string(name) + "\"";
  if (std::remove(entry->c_str()) != 0) return *entry + ": " + std::strerror(errno);
  return std::nullopt;
}

}  // namespace platform
