// SPDX-License-Identifier: MIT
#include "text.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace platform {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view skipSpace(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return text.substr(i);
}

}  // namespace

int32_t intValue(std::string_view text) {
  text = skipSpace(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t magnitude = 0;
  const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) magnitude = limit;  // saturate; later digits cannot bring it back
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

float floatValue(std::string_view text) {
  text = skipSpace(text);
  // Take only the characters a decimal number may consist of, so strtod
  // never sees "nan", "inf" or hexadecimal forms.
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digitsStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  size_t intDigits = i - digitsStart;
  size_t fracDigits = 0;
  if (i < text.size() && text[i] == '.') {
    size_t j = i + 1;
    while (j < text.size() && isDigit(text[j])) ++j;
    fracDigits = j - i - 1;
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0.0f;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t expStart = j;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j > expStart) i = j;
  }
  std::string number(text.substr(0, i));
  return std::strtof(number.c_str(), nullptr);
}

bool boolValue(std::string_view text) {
  text = skipSpace(text);
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  while (i < text.size() && text[i] == '0') ++i;
  if (i >= text.size()) return false;
  char c = text[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

int32_t intValue(double number) {
  if (std::isnan(number)) return 0;
  if (number >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (number <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(number);
}

std::string stringValue(int32_t number) { return std::to_string(number); }

std::string stringValue(float number) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(number));
  return buffer;
}

Result<std::string> homeFolder() {
  if (const char* home = std::getenv("HOME"); home && home[0] == '/') return std::string(home);
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
      found->pw_dir[0] == '/')
    return std::string(found->pw_dir);
  return fail("no home folder: HOME is not an absolute path and the password database names none for this user");
}

std::string expandTilde(std::string_view path) {
  if (path.empty() || path[0] != '~' || (path.size() > 1 && path[1] != '/')) return std::string(path);
  auto home = homeFolder();
  if (!home) return std::string(path);
  std::string expanded = std::move(home.value());
  if (expanded.size() > 1 && expanded.back() == '/') expanded.pop_back();
  expanded += path.substr(1);
  return expanded;
}

namespace {

// An XDG base folder: the variable when it names an absolute path, else its
// place under the home folder.
std::string xdgHome(const char* variable, const char* underHome) {
  const char* set = std::getenv(variable);
  if (set && set[0] == '/') return set;
  return expandTilde(underHome);
}

}  // namespace

std::string configHome() { return xdgHome("XDG_CONFIG_HOME", "~/.config"); }

std::string dataHome() { return xdgHome("XDG_DATA_HOME", "~/.local/share"); }

}  // namespace platform
