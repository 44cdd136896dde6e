#include "plist_dictionary.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/foundation/atomic_file.h"
#include "platform/foundation/text.h"

namespace platform {
namespace {

// Settings and preference files are a few kilobytes; refuse to parse
// anything that could not be one.
constexpr size_t kLargestFile = 16 * 1024 * 1024;

std::string takeString(char* text) {
  std::string result = text ? text : "";
  std::free(text);
  return result;
}

}  // namespace

PlistDictionary::PlistDictionary() : root_(plist_new_dict()) {}
PlistDictionary::~PlistDictionary() {
  if (root_) plist_free(root_);
}
PlistDictionary::PlistDictionary(PlistDictionary&& other) noexcept : root_(other.root_) {
  other.root_ = plist_new_dict();
}
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

namespace {

plist_t parseDictionary(std::string_view bytes) {
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  if (root && plist_get_node_type(root) != PLIST_DICT) {
    plist_free(root);
    root = nullptr;
  }
  return root;
}

}  // namespace

std::optional<PlistDictionary> PlistDictionary::parse(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kLargestFile) return std::nullopt;
  plist_t first = parseDictionary(bytes);
  if (!first) return std::nullopt;
  // The parser keeps what a well-formed file never holds: a key twice, or
  // texts and keys with NUL characters, which the library's own accessors
  // cannot return. Writing the tree as XML and reading that back settles
  // both (one entry per key, texts end at a NUL), so every lookup and every
  // save afterwards sees the same single value per key.
  PlistDictionary settled(first);
  plist_t root = parseDictionary(settled.toXml());
  if (!root) return std::nullopt;
  return PlistDictionary(root);
}

std::optional<PlistDictionary> PlistDictionary::readFile(const std::string& path) {
  auto content = readWholeFile(path);
  if (!content) return std::nullopt;
  return parse(*content);
}

std::string PlistDictionary::toXml() const {
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(root_, &xml, &length);
  std::string result(xml ? xml : "", xml ? length : 0);
  plist_to_xml_free(xml);
  return result;
}

std::optional<std::string> PlistDictionary::writeFile(const std::string& path) const {
  return writeFileAtomically(path, toXml());
}

std::vector<std::string> PlistDictionary::keys() const {
  std::vector<std::string> result;
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(root_, &iterator);
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(root_, iterator, &key, &value);
    if (!value) {
      std::free(key);
      break;
    }
    result.push_back(takeString(key));
  }
  std::free(iterator);
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
