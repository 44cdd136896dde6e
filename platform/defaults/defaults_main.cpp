// SPDX-License-Identifier: MIT
// defaults: reads and writes the user's preference files,
// ~/Library/Preferences/DOMAIN.plist.
//
//   defaults write DOMAIN KEY -bool true|false|yes|no
//   defaults read DOMAIN [KEY]
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/foundation/log.h"
#include "platform/foundation/path_component.h"
#include "platform/foundation/text.h"
#include "platform/plist/plist_dictionary.h"
#include "platform/plist/preference_file.h"
#include "project_version.h"

namespace {

constexpr const char* kUsage =
    "usage: defaults write DOMAIN KEY -bool true|false|yes|no\n"
    "       defaults read DOMAIN [KEY]\n"
    "       defaults --help | --version\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int fail(const std::string& message) {
  platform::logLine(message);
  return 1;
}

// Nothing for a domain that would name a file outside the preferences folder.
std::optional<std::string> domainPath(std::string_view domain) {
  if (domain == "NSGlobalDomain") domain = ".GlobalPreferences";
  if (!platform::isSinglePathComponent(domain)) return std::nullopt;
  return platform::expandTilde("~/Library/Preferences/") + std::string(domain) + ".plist";
}

std::optional<bool> parseBool(std::string_view word) {
  if (word == "true" || word == "yes" || word == "TRUE" || word == "YES") return true;
  if (word == "false" || word == "no" || word == "FALSE" || word == "NO") return false;
  return std::nullopt;
}

void printValue(const platform::PlistDictionary& file, const std::string& key) {
  using platform::PlistKind;
  switch (file.kind(key)) {
    case PlistKind::String: std::printf("%s\n", file.string(key)->c_str()); break;
    case PlistKind::Boolean: std::printf("%d\n", *file.boolean(key) ? 1 : 0); break;
    case PlistKind::Integer: std::printf("%lld\n", static_cast<long long>(*file.integer(key))); break;
    case PlistKind::Real: std::printf("%.17g\n", *file.real(key)); break;
    default: {
      platform::PlistDictionary single;
      single = file;
      for (const auto& other : single.keys())
        if (other != key) single.remove(other);
      std::fputs(single.toXml().c_str(), stdout);
    }
  }
}

int readCommand(const std::string& path, std::string_view domain, const char* key) {
  auto existing = platform::PlistDictionary::readExisting(path);
  if (!existing) return fail(existing.error());
  if (!existing.value()) return fail("the domain " + std::string(domain) + " does not exist");
  auto& file = existing.value();
  if (!key) {
    std::fputs(file->toXml().c_str(), stdout);
    return 0;
  }
  if (!file->contains(key)) return fail("the key " + std::string(key) + " does not exist in " + std::string(domain));
  printValue(*file, key);
  return 0;
}

int writeCommand(const std::string& path, const char* key, bool value) {
  auto written = platform::updatePreferenceFile(path, [&](platform::PlistDictionary& file) { file.setBoolean(key, value); });
  if (!written) return fail(written.error());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("defaults %s\n", kProjectVersion);
    return 0;
  }
  if (argc < 3) return usage();
  if (auto home = platform::homeFolder(); !home) return fail(home.error());
  std::string_view command = argv[1];
  auto path = domainPath(argv[2]);
  if (!path) return fail(std::string("not a domain name: ") + argv[2]);
  if (command == "read" && (argc == 3 || argc == 4)) return readCommand(*path, argv[2], argc == 4 ? argv[3] : nullptr);
  if (command == "write" && argc == 6 && std::string_view(argv[4]) == "-bool") {
    auto value = parseBool(argv[5]);
    if (!value) return fail(std::string("not a boolean: ") + argv[5]);
    return writeCommand(*path, argv[3], *value);
  }
  return usage();
}
