// SPDX-License-Identifier: MIT
#pragma once
// A property-list dictionary held in memory: read from an XML or binary
// property-list file, changed key by key, written back as XML. Values this
// program does not understand are kept as they were read, so every key of
// another program survives a read-modify-write.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/result.h"
#include "platform/plist/plist_limits.h"

namespace platform {

enum class PlistKind { Absent, String, Integer, Real, Boolean, Data, Date, Array, Dictionary, Other };

class PlistDictionary {
 public:
  PlistDictionary();  // empty
  ~PlistDictionary();
  // Leaves other holding no dictionary at all: it may then only be
  // assigned to or destroyed.
  PlistDictionary(PlistDictionary&& other) noexcept;
  PlistDictionary& operator=(PlistDictionary&& other) noexcept;
  PlistDictionary(const PlistDictionary& other);
  PlistDictionary& operator=(const PlistDictionary& other);

  // Nothing when the bytes are no property list, its root is no
  // dictionary, or it is beyond the limits of plist_limits.h.
  static std::optional<PlistDictionary> parse(std::string_view bytes);
  // As parse, with the reason when there is nothing.
  static Result<PlistDictionary> parseChecked(std::string_view bytes);
  // Nothing (no error) when there is no such file; the reason when there is
  // something at the path that cannot be read as a dictionary: no
  // permission, no regular file, too large, too deep, no property list.
  static Result<std::optional<PlistDictionary>> readExisting(const std::string& path);
  // Nothing whenever readExisting gives no dictionary.
  static std::optional<PlistDictionary> readFile(const std::string& path);

  std::string toXml() const;
  // Atomic replace (see writeFileAtomically), making the folder (mode 0700)
  // when it is missing. A key or text that XML cannot carry (invalid
  // UTF-8, control characters), or a result beyond the readers' limits,
  // fails the write and leaves the file as it was.
  Status writeFile(const std::string& path) const;
  // As writeFile, for a caller that has made the folder already.
  Status writeIntoExistingFolder(const std::string& path) const;

  std::vector<std::string> keys() const;
  bool contains(std::string_view key) const { return kind(key) != PlistKind::Absent; }
  PlistKind kind(std::string_view key) const;

  // Typed access: nothing when the key is absent or of another kind.
  std::optional<std::string> string(std::string_view key) const;
  std::optional<int64_t> integer(std::string_view key) const;
  std::optional<double> real(std::string_view key) const;
  std::optional<bool> boolean(std::string_view key) const;
  std::optional<std::vector<uint8_t>> data(std::string_view key) const;

  // Readings as the platform's value objects answer them. Texts give their
  // leading number, numbers their value (clamped to 32 bits), booleans 0 or
  // 1; an absent key and any other kind read as 0.
  int32_t intValue(std::string_view key) const;
  float floatValue(std::string_view key) const;
  // Absent reads as false; texts, numbers and booleans have a reading;
  // dates, data, arrays and dictionaries have none (nothing returned).
  std::optional<bool> boolValue(std::string_view key) const;

  void setString(std::string_view key, std::string_view value);
  void setInteger(std::string_view key, int64_t value);
  void setReal(std::string_view key, double value);
  void setBoolean(std::string_view key, bool value);
  void setData(std::string_view key, std::span<const uint8_t> value);
  void remove(std::string_view key);

 private:
  explicit PlistDictionary(void* root) : root_(root) {}
  void* node(std::string_view key) const;
  void set(std::string_view key, void* value);
  Status write(const std::string& path, bool makeFolder) const;
  void* root_;  // a libplist dictionary node, owned
};

}  // namespace platform
