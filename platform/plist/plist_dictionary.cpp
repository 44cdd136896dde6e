// SPDX-License-Identifier: MIT
#include "plist_dictionary.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/text.h"
#include "platform/plist/plist_limits.h"
#include "platform/plist/plist_reader.h"

namespace platform {
namespace {

std::string takeString(char* text) {
  std::string result = text ? text : "";
  std::free(text);
  return result;
}

// Calls visit(key, value) for each entry of a dictionary node, in order,
// until it returns true.
template <typename Visit>
void visitEntries(plist_t dictionary, Visit visit) {
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(dictionary, &iterator);
  for (bool done = false; !done;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(dictionary, iterator, &key, &value);
    if (!value) {
      std::free(key);
      break;
    }
    done = visit(takeString(key), value);
  }
  std::free(iterator);
}

}  // namespace

PlistDictionary::PlistDictionary() : root_(plist_new_dict()) {}
PlistDictionary::~PlistDictionary() {
  if (root_) plist_free(root_);
}
PlistDictionary::PlistDictionary(PlistDictionary&& other) noexcept : root_(std::exchange(other.root_, nullptr)) {}
PlistDictionary& PlistDictionary::operator=(PlistDictionary&& other) noexcept {
  std::swap(root_, other.root_);
  return *this;
}
PlistDictionary::PlistDictionary(const PlistDictionary& other) : root_(plist_copy(other.root_)) {}
PlistDictionary& PlistDictionary::operator=(const PlistDictionary& other) {
  if (this != &other) {
    plist_free(root_);
    root_ = plist_copy(other.root_);
  }
  return *this;
}

std::optional<PlistDictionary> PlistDictionary::parse(std::string_view bytes) {
  auto parsed = parseChecked(bytes);
  if (!parsed) return std::nullopt;
  return std::move(parsed.value());
}

Result<PlistDictionary> PlistDictionary::parseChecked(std::string_view bytes) {
  auto tree = readPlistTree(bytes);
  if (!tree) return fail(tree.error());
  PlistDictionary read(tree.value());
  if (plist_get_node_type(read.root_) != PLIST_DICT) return fail("not a property-list dictionary");
  return read;
}

Result<std::optional<PlistDictionary>> PlistDictionary::readExisting(const std::string& path) {
  auto content = readRegularFile(path, kLargestPlistFile);
  if (!content) return fail(content.error());
  if (!content.value()) return std::optional<PlistDictionary>();
  auto parsed = parseChecked(**content);
  if (!parsed) return fail(path + ": " + parsed.error());
  return std::optional<PlistDictionary>(std::move(parsed.value()));
}

std::optional<PlistDictionary> PlistDictionary::readFile(const std::string& path) {
  auto existing = readExisting(path);
  if (!existing || !existing.value()) return std::nullopt;
  return std::move(*existing.value());
}

std::string PlistDictionary::toXml() const {
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(root_, &xml, &length);
  std::string result(xml ? xml : "", xml ? length : 0);
  plist_to_xml_free(xml);
  return result;
}

namespace {

// What XML 1.0 can carry: well-formed UTF-8 of characters other than the
// C0 controls (tab, line feed and carriage return aside), surrogates and
// the two non-characters U+FFFE and U+FFFF.
bool xmlText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
      if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') return false;
      ++at;
      continue;
    }
    size_t length;
    char32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07;
    else return false;
    if (at + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE ||
        code == 0xFFFF)
      return false;
    at += length;
  }
  return true;
}

// The first key or text in the tree that XML cannot carry.
std::optional<std::string> unwritableText(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      if (text && !xmlText(std::string_view(text, length))) return std::string(text, length);
      return std::nullopt;
    }
    case PLIST_ARRAY:
      for (uint32_t i = 0; i < plist_array_get_size(node); ++i)
        if (auto found = unwritableText(plist_array_get_item(node, i))) return found;
      return std::nullopt;
    case PLIST_DICT: {
      std::optional<std::string> found;
      visitEntries(node, [&found](std::string name, plist_t value) {
        found = xmlText(name) ? unwritableText(value) : std::move(name);
        return found.has_value();
      });
      return found;
    }
    default: return std::nullopt;
  }
}

// Shown in a message: control characters and stray bytes as escapes.
std::string printable(std::string_view text) {
  static const char digits[] = "0123456789abcdef";
  std::string shown;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      shown += "\\x";
      shown += digits[byte >> 4];
      shown += digits[byte & 0x0F];
    }
  }
  return shown;
}

}  // namespace

Status PlistDictionary::writeFile(const std::string& path) const { return write(path, true); }

Status PlistDictionary::writeIntoExistingFolder(const std::string& path) const { return write(path, false); }

Status PlistDictionary::write(const std::string& path, bool makeFolder) const {
  if (auto bad = unwritableText(root_))
    return fail("not writing " + path + ": \"" + printable(*bad) + "\" holds characters a property list cannot store");
  // What this writes, every reader must read again: a tree that a file
  // referred to from many places may be too large once written out.
  const std::string xml = toXml();
  if (auto readable = parseChecked(xml); !readable)
    return fail("not writing " + path + ": it would be " + readable.error());
  if (makeFolder) {
    // A fresh account has no ~/Library/Preferences; only its owner may look in.
    if (auto folder = makeFolders(folderOf(path), 0700); !folder) return folder;
  }
  return writeFileAtomically(path, xml);
}

std::vector<std::string> PlistDictionary::keys() const {
  std::vector<std::string> result;
  visitEntries(root_, [&result](std::string name, plist_t) {
    result.push_back(std::move(name));
    return false;
  });
  return result;
}

void* PlistDictionary::node(std::string_view key) const {
  return plist_dict_get_item(root_, std::string(key).c_str());
}

void PlistDictionary::set(std::string_view key, void* value) {
  plist_dict_set_item(root_, std::string(key).c_str(), value);
}

PlistKind PlistDictionary::kind(std::string_view key) const {
  plist_t value = node(key);
  if (!value) return PlistKind::Absent;
  switch (plist_get_node_type(value)) {
    case PLIST_STRING: return PlistKind::String;
    case PLIST_UINT: return PlistKind::Integer;
    case PLIST_REAL: return PlistKind::Real;
    case PLIST_BOOLEAN: return PlistKind::Boolean;
    case PLIST_DATA: return PlistKind::Data;
    case PLIST_DATE: return PlistKind::Date;
    case PLIST_ARRAY: return PlistKind::Array;
    case PLIST_DICT: return PlistKind::Dictionary;
    default: return PlistKind::Other;
  }
}

std::optional<std::string> PlistDictionary::string(std::string_view key) const {
  if (kind(key) != PlistKind::String) return std::nullopt;
  uint64_t length = 0;
  const char* text = plist_get_string_ptr(node(key), &length);
  return std::string(text ? text : "", text ? length : 0);
}

std::optional<int64_t> PlistDictionary::integer(std::string_view key) const {
  if (kind(key) != PlistKind::Integer) return std::nullopt;
  uint64_t value = 0;
  plist_get_uint_val(node(key), &value);
  return static_cast<int64_t>(value);
}

std::optional<double> PlistDictionary::real(std::string_view key) const {
  if (kind(key) != PlistKind::Real) return std::nullopt;
  double value = 0;
  plist_get_real_val(node(key), &value);
  return value;
}

std::optional<bool> PlistDictionary::boolean(std::string_view key) const {
  if (kind(key) != PlistKind::Boolean) return std::nullopt;
  uint8_t value = 0;
  plist_get_bool_val(node(key), &value);
  return value != 0;
}

std::optional<std::vector<uint8_t>> PlistDictionary::data(std::string_view key) const {
  if (kind(key) != PlistKind::Data) return std::nullopt;
  uint64_t length = 0;
  auto* bytes = reinterpret_cast<const uint8_t*>(plist_get_data_ptr(node(key), &length));
  return std::vector<uint8_t>(bytes, bytes + (bytes ? length : 0));
}

int32_t PlistDictionary::intValue(std::string_view key) const {
  if (auto text = string(key)) return platform::intValue(*text);
  if (auto number = integer(key)) {
    if (*number > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (*number < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(*number);
  }
  if (auto number = real(key)) return platform::intValue(*number);
  if (auto flag = boolean(key)) return *flag ? 1 : 0;
  return 0;
}

float PlistDictionary::floatValue(std::string_view key) const {
  if (auto text = string(key)) return platform::floatValue(*text);
  if (auto number = integer(key)) return static_cast<float>(*number);
  if (auto number = real(key)) return static_cast<float>(*number);
  if (auto flag = boolean(key)) return *flag ? 1.0f : 0.0f;
  return 0.0f;
}

std::optional<bool> PlistDictionary::boolValue(std::string_view key) const {
  switch (kind(key)) {
    case PlistKind::Absent: return false;
    case PlistKind::String: return platform::boolValue(*string(key));
    case PlistKind::Integer: return *integer(key) != 0;
    case PlistKind::Real: return *real(key) != 0.0;
    case PlistKind::Boolean: return *boolean(key);
    default: return std::nullopt;
  }
}

void PlistDictionary::setString(std::string_view key, std::string_view value) {
  set(key, plist_new_string(std::string(value).c_str()));
}
void PlistDictionary::setInteger(std::string_view key, int64_t value) {
  set(key, plist_new_uint(static_cast<uint64_t>(value)));
}
void PlistDictionary::setReal(std::string_view key, double value) { set(key, plist_new_real(value)); }
void PlistDictionary::setBoolean(std::string_view key, bool value) { set(key, plist_new_bool(value)); }
void PlistDictionary::setData(std::string_view key, std::span<const uint8_t> value) {
  set(key, plist_new_data(reinterpret_cast<const char*>(value.data()), value.size()));
}
void PlistDictionary::remove(std::string_view key) {
  if (node(key)) plist_dict_remove_item(root_, std::string(key).c_str());
}

}  // namespace platform
