// SPDX-License-Identifier: MIT
// XML property lists through expat, which streams: elements nest in its
// own heap stack and in ours, never on the call stack. Entity declarations
// are refused outright, so no text expands beyond the bytes of the file.
#include <expat.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/plist/plist_reader.h"
#include "platform/plist/plist_tree_builder.h"

namespace platform {
namespace {

constexpr int64_t kUnixSecondsAt2001 = 978307200;

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Decimal, or hexadecimal after 0x; a negative value is kept as its 64-bit
// two's complement, as libplist holds every integer.
std::optional<uint64_t> integerOf(std::string_view text) {
  text = trimmed(text);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2), base = 16;
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? ~magnitude + 1 : magnitude;
}

std::optional<double> realOf(std::string_view text) {
  text = trimmed(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  // from_chars reads the C locale's form whatever locale the program runs in.
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "2020-01-01T00:00:00Z", as seconds since 2001-01-01 in UTC.
std::optional<int64_t> dateOf(std::string_view text) {
  const std::string date(trimmed(text));
  int year, month, day, hour, minute, second, used = 0;
  if (std::sscanf(date.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ%n", &year, &month, &day, &hour, &minute, &second, &used) !=
          6 ||
      used != static_cast<int>(date.size()))
    return std::nullopt;
  const std::chrono::year_month_day calendar{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                                             std::chrono::day(static_cast<unsigned>(day))};
  if (!calendar.ok() || hour > 23 || minute > 59 || second > 60) return std::nullopt;
  const int64_t days = std::chrono::sys_days(calendar).time_since_epoch().count();
  return days * 86400 + hour * 3600 + minute * 60 + second - kUnixSecondsAt2001;
}

std::optional<std::string> base64Of(std::string_view text) {
  std::string bytes;
  uint32_t bits = 0;
  int held = 0;
  bool padded = false;
  for (char c : text) {
    int value;
    if (c >= 'A' && c <= 'Z') value = c - 'A';
    else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
    else if (c >= '0' && c <= '9') value = c - '0' + 52;
    else if (c == '+') value = 62;
    else if (c == '/') value = 63;
    else if (c == '=') { padded = true; continue; }
    else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    else return std::nullopt;
    if (padded) return std::nullopt;
    bits = bits << 6 | static_cast<uint32_t>(value);
    if ((held += 6) >= 8) {
      held -= 8;
      bytes += static_cast<char>(bits >> held & 0xFF);
    }
  }
  return bytes;
}

enum class Element { Plist, Container, Key, String, Integer, Real, Date, Data, True, False };

struct ElementName {
  std::string_view name;
  Element element;
};
constexpr ElementName kElements[] = {
    {"plist", Element::Plist},     {"dict", Element::Container}, {"array", Element::Container},
    {"key", Element::Key},         {"string", Element::String},  {"integer", Element::Integer},
    {"real", Element::Real},       {"date", Element::Date},      {"data", Element::Data},
    {"true", Element::True},       {"false", Element::False}};

bool holdsText(Element element) {
  return element != Element::Plist && element != Element::Container && element != Element::True &&
         element != Element::False;
}

class XmlReader {
 public:
  XmlReader() : parser_(XML_ParserCreate(nullptr), XML_ParserFree) {}

  Result<plist_t> read(std::string_view bytes) {
    if (!parser_) return fail("out of memory");
    XML_Parser parser = parser_.get();
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &XmlReader::started, &XmlReader::ended);
    XML_SetCharacterDataHandler(parser, &XmlReader::text);
    XML_SetEntityDeclHandler(parser, &XmlReader::entityDeclared);
    XML_SetSkippedEntityHandler(parser, &XmlReader::entitySkipped);
    const bool parsed = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
    if (error_) return fail(*error_);
    if (!parsed)
      return fail("not a property list (line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
                  XML_ErrorString(XML_GetErrorCode(parser)) + ")");
    if (!tree_.done()) return fail("not a property list");
    return tree_.take();
  }

 private:
  static XmlReader& of(void* data) { return *static_cast<XmlReader*>(data); }

  void stop(std::string reason) {
    if (error_) return;
    error_ = std::move(reason);
    XML_StopParser(parser_.get(), XML_FALSE);
  }
  void check(Status status) {
    if (!status) stop(status.error());
  }

  static void started(void* data, const XML_Char* name, const XML_Char**) {
    auto& self = of(data);
    if (self.error_) return;
    const std::string_view tag(name);
    const Element* element = nullptr;
    for (const auto& known : kElements)
      if (known.name == tag) element = &known.element;
    const bool top = self.elements_.empty();
    if (!element || (*element == Element::Plist && !top) ||
        (!top && self.elements_.back() != Element::Plist && self.elements_.back() != Element::Container))
      return self.stop("not a property list: <" + std::string(tag) + "> where it cannot stand");
    self.elements_.push_back(*element);
    self.text_.clear();
    if (*element == Element::Container)
      self.check(self.tree_.open(tag == "dict" ? plist_new_dict() : plist_new_array()));
  }

  static void ended(void* data, const XML_Char*) {
    auto& self = of(data);
    if (self.error_) return;
    const Element element = self.elements_.back();
    self.elements_.pop_back();
    const std::string& text = self.text_;
    const auto malformed = [&] { self.stop("not a property list: a value that cannot be read"); };
    switch (element) {
      case Element::Plist: return;
      case Element::Container: return self.check(self.tree_.close());
      case Element::Key: return self.check(self.tree_.key(text));
      case Element::String: return self.check(self.tree_.add(plist_new_string(text.c_str())));
      case Element::True: return self.check(self.tree_.add(plist_new_bool(1)));
      case Element::False: return self.check(self.tree_.add(plist_new_bool(0)));
      case Element::Integer:
        if (auto value = integerOf(text)) return self.check(self.tree_.add(plist_new_uint(*value)));
        return malformed();
      case Element::Real:
        if (auto value = realOf(text)) return self.check(self.tree_.add(plist_new_real(*value)));
        return malformed();
      case Element::Date:
        if (auto seconds = dateOf(text); seconds && *seconds >= INT32_MIN && *seconds <= INT32_MAX)
          return self.check(self.tree_.add(plist_new_date(static_cast<int32_t>(*seconds), 0)));
        return malformed();
      case Element::Data:
        if (auto bytes = base64Of(text)) return self.check(self.tree_.add(plist_new_data(bytes->data(), bytes->size())));
        return malformed();
    }
  }

  static void text(void* data, const XML_Char* characters, int length) {
    auto& self = of(data);
    if (self.error_ || self.elements_.empty()) return;
    const std::string_view piece(characters, static_cast<size_t>(length));
    if (holdsText(self.elements_.back()))
      self.text_ += piece;
    else if (!trimmed(piece).empty())
      self.stop("not a property list: text between values");
  }

  static void entityDeclared(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                             const XML_Char*, const XML_Char*, const XML_Char*) {
    of(data).stop("not a property list: it declares entities");
  }
  static void entitySkipped(void* data, const XML_Char*, int) {
    of(data).stop("not a property list: it refers to an entity it does not define");
  }

  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser_;
  PlistTreeBuilder tree_;
  std::vector<Element> elements_;
  std::string text_;
  std::optional<std::string> error_;
};

}  // namespace

Result<plist_t> readXmlPlist(std::string_view bytes) {
  XmlReader reader;
  return reader.read(bytes);
}

}  // namespace platform
